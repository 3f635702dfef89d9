#include "game/time_display.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

std::string speed(const Vec3& velocity) {
  int digits[3];
  speedDigits(velocity, digits);
  return {char('0' + digits[0]), char('0' + digits[1]), char('0' + digits[2])};
}

}  // namespace

TEST(TimeDisplay, LapTimesReadAsMinutesSecondsHundredths) {
  EXPECT_EQ(lapTimeText(75.5f), "1:15.50");
  EXPECT_EQ(lapTimeText(599.995f), "9:59.99");
  EXPECT_EQ(lapTimeText(0.0f), "0:00.00");
}

TEST(TimeDisplay, TenMinutesOrMoreShowGlyphTenInTheMinutes) {
  int glyphs[kTimeGlyphCount];
  timeGlyphs(600.0f, glyphs);
  EXPECT_EQ(glyphs[0], 10);
  EXPECT_EQ(glyphs[2], 0);
  EXPECT_EQ(lapTimeText(600.0f), "10:00.00");
}

TEST(TimeDisplay, TimesOutOfRangeStayDrawable) {
  EXPECT_EQ(lapTimeText(std::nanf("")), "0:00.00");
  EXPECT_EQ(lapTimeText(-5.0f), "0:00.00");
  int glyphs[kTimeGlyphCount];
  timeGlyphs(1e30f, glyphs);
  for (int g : glyphs) EXPECT_GE(g, 0);
}

TEST(TimeDisplay, SpeedKeepsLeadingZerosAndTruncates) {
  EXPECT_EQ(speed(Vec3(0.0, 0.0, 45.5 / 270.0)), "045");
  // The factor is a hair below 270, so exactly 45 km/h reads 044.
  EXPECT_EQ(speed(Vec3(45.0 / 270.0, 0.0, 0.0)), "044");
  EXPECT_EQ(speed(Vec3(0.0, 0.0, 0.0)), "000");
  EXPECT_EQ(speed(Vec3(0.0, -250.5 / 270.0, 0.0)), "250");
  EXPECT_EQ(speed(Vec3(1e300, 0.0, 0.0)), "999");
}
