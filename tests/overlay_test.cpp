#include "game/draw/overlay.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr float kTol = 1e-5f;

}  // namespace

TEST(Overlay, ThickLineSpreadsAcrossTheSegment) {
  float c[8];
  // A horizontal segment away from the origin: the corners lie above and below.
  thickLineCorners(10.0f, 5.0f, 20.0f, 5.0f, 2.0f, 1.0f, c);
  EXPECT_NEAR(c[0], 10.0f, kTol);
  EXPECT_NEAR(std::fabs(c[1] - 5.0f), 1.0f, kTol);
  EXPECT_NEAR(c[1] + c[3], 10.0f, kTol);  // symmetric about the segment
  EXPECT_NEAR(std::fabs(c[5] - 5.0f), 0.5f, kTol);
  EXPECT_NEAR(c[4], 20.0f, kTol);
}

TEST(Overlay, SegmentInLineWithTheOriginFallsBackToSidewaysX) {
  float c[8];
  // Both ends on a ray from the origin: no plane through them and the origin.
  thickLineCorners(1.0f, 1.0f, 3.0f, 3.0f, 2.0f, 2.0f, c);
  EXPECT_NEAR(c[0], 2.0f, kTol);
  EXPECT_NEAR(c[1], 1.0f, kTol);
  EXPECT_NEAR(c[2], 0.0f, kTol);
  for (float v : c) EXPECT_TRUE(std::isfinite(v));
}
