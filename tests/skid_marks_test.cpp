#include "game/skid_marks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

constexpr float kColorTol = 1e-5f;

// A sliding, loaded wheel: intensity (0.35 - 0.01^0.4 * 0.8) * 1 - 0.05.
constexpr float kSlidingIntensity = 0.173209f;
SkidWheel slidingAt(double z) { return {Vec3(0.0, 0.3, z), 0.271f, 0.01f, 1.0f}; }

struct Trails {
  std::unique_ptr<SkidMarks> marks{new SkidMarks};
  Mat4 upright = identityMat4();
  Vec3 velocity{0.0, 0.0, -0.5};
  Trails() { initSkidMarks(*marks); }

  // Four ticks: the fourth lays one segment per wheel.
  void layAll(const SkidWheel& wheel) {
    SkidWheel wheels[kSkidWheels] = {wheel, wheel, wheel, wheel};
    for (int tick = 0; tick < 4; ++tick) laySkidMarks(*marks, wheels, upright, velocity);
  }
  const SkidTrail& trail() const { return marks->trails[0]; }
  float color(int slot) const { return trail().colors[6 * slot]; }
};

}  // namespace

TEST(SkidMarks, RingTrianglesCloseTheLoop) {
  Trails t;
  const int32_t* last = t.trail().triangles + 6 * (kSkidSlots - 1);
  EXPECT_EQ(last[0], 998);
  EXPECT_EQ(last[1], 999);
  EXPECT_EQ(last[2], 0);
  EXPECT_EQ(last[4], 1);
  EXPECT_EQ(t.trail().texCoords[2], 1.0f);
}

TEST(SkidMarks, OnlyEveryFourthTickLays) {
  Trails t;
  SkidWheel wheels[kSkidWheels] = {slidingAt(-1), slidingAt(-1), slidingAt(-1), slidingAt(-1)};
  for (int tick = 0; tick < 3; ++tick) laySkidMarks(*t.marks, wheels, t.upright, t.velocity);
  EXPECT_EQ(t.trail().skidRun, 0);
  laySkidMarks(*t.marks, wheels, t.upright, t.velocity);
  EXPECT_EQ(t.trail().skidRun, 1);
}

TEST(SkidMarks, NewTrailStartsWithAZeroAreaJoint) {
  Trails t;
  t.layAll(slidingAt(-1.0));
  // Slots 1 and 2 hold the same edge; the left point is 0.16 m to the side and
  // 0.02 m above the tyre's lowest point.
  EXPECT_EQ(t.trail().skidHead, 2);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(t.trail().positions[6 + i], t.trail().positions[12 + i]);
  EXPECT_NEAR(std::abs(t.trail().positions[6]), 0.16f, 1e-6f);
  EXPECT_NEAR(t.trail().positions[7], 0.3f - 0.271f + 0.02f, 1e-6f);
}

TEST(SkidMarks, ColourIsWrittenOneLayingLater) {
  Trails t;
  t.layAll(slidingAt(-1.0));
  t.layAll(slidingAt(-2.0));
  EXPECT_EQ(t.color(3), 0.0f);  // run was 1: no colour yet
  t.layAll(slidingAt(-3.0));
  // Slot 3 received the intensity and was not faded (it is behind the head).
  EXPECT_NEAR(t.color(3), kSlidingIntensity, kColorTol);
  EXPECT_EQ(t.color(5), 0.0f);  // the slot after the head is always dark
}

TEST(SkidMarks, GripOrNoLoadOrTooShortAMoveLaysNothing) {
  Trails t;
  t.layAll({Vec3(0.0, 0.3, -1.0), 0.271f, 1.0f, 1.0f});  // full grip
  EXPECT_EQ(t.trail().skidHead, 0);
  t.layAll({Vec3(0.0, 0.3, -1.0), 0.271f, 0.0f, 0.0f});  // no load
  EXPECT_EQ(t.trail().skidHead, 0);
  t.layAll(slidingAt(-1.0));
  int head = t.trail().skidHead;
  t.layAll(slidingAt(-1.05));  // 5 cm further
  EXPECT_EQ(t.trail().skidHead, head);
}

TEST(SkidMarks, GripBreaksTheTrailButKeepsTheLastPoint) {
  Trails t;
  t.layAll(slidingAt(-1.0));
  t.layAll(slidingAt(-2.0));
  t.layAll({Vec3(0.0, 0.3, -3.0), 0.271f, 1.0f, 1.0f});
  EXPECT_EQ(t.trail().skidRun, 0);
  EXPECT_NEAR(t.trail().skidLast.z, -2.0, 1e-12);
}

TEST(SkidMarks, RingWrapsAndTheOldestSlotsFade) {
  Trails t;
  for (int i = 1; i <= kSkidSlots + 10; ++i) t.layAll(slidingAt(-0.2 * i));
  // 510 layings of one trail: heads 2, 3, ... wrap past slot 499.
  EXPECT_EQ(t.trail().skidHead, (kSkidSlots + 11) % kSkidSlots);
  int head = t.trail().skidHead;
  // Just behind the head the mark has its full intensity. The fifty slots
  // ahead of it (the oldest, next to be overwritten) lose 0.008 per laying:
  // the one 40 ahead has been faded 10 times, the one 10 ahead 40 times (to 0).
  EXPECT_NEAR(t.color((head - 1 + kSkidSlots) % kSkidSlots), kSlidingIntensity, kColorTol);
  EXPECT_EQ(t.color((head + 1) % kSkidSlots), 0.0f);
  EXPECT_EQ(t.color((head + 10) % kSkidSlots), 0.0f);
  EXPECT_NEAR(t.color((head + 40) % kSkidSlots), kSlidingIntensity - 10 * 0.008f, kColorTol);
  EXPECT_NEAR(t.color((head + 60) % kSkidSlots), kSlidingIntensity, kColorTol);
}

TEST(SkidMarks, NegativeGripRatioBreaksTheTrailInsteadOfDrawingGarbage) {
  Trails t;
  t.layAll({Vec3(0.0, 0.3, -1.0), 0.271f, -0.5f, 1.0f});
  EXPECT_EQ(t.trail().skidHead, 0);
  EXPECT_EQ(t.trail().skidRun, 0);
}
