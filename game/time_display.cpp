#include "game/time_display.h"

namespace {

constexpr float kMinutesPerSecond = 0.016666668f;
constexpr float kLongestShownTime = 1.0e6f;
constexpr double kKphPerMetrePerTick = 269.9999928474426;

}  // namespace

void timeGlyphs(float seconds, int glyphs[kTimeGlyphCount]) {
  // A time from the best-times file may be anything; keep the conversions to
  // int defined (not a number reads as zero).
  if (!(seconds >= 0.0f)) seconds = 0.0f;
  if (seconds > kLongestShownTime) seconds = kLongestShownTime;
  int whole = int(seconds);
  glyphs[0] = int(seconds * kMinutesPerSecond);
  glyphs[1] = kGlyphColon;
  glyphs[2] = (whole / 10) % 6;
  glyphs[3] = whole % 10;
  glyphs[4] = kGlyphPoint;
  glyphs[5] = int(seconds * 10.0f) % 10;
  glyphs[6] = int(seconds * 100.0f) % 10;
}

std::string lapTimeText(float seconds) {
  int glyphs[kTimeGlyphCount];
  timeGlyphs(seconds, glyphs);
  std::string text = std::to_string(glyphs[0]);
  for (int i = 1; i < kTimeGlyphCount; ++i)
    text += glyphs[i] == kGlyphColon ? ':' : glyphs[i] == kGlyphPoint ? '.' : char('0' + glyphs[i]);
  return text;
}

void speedDigits(const Vec3& velocity, int digits[3]) {
  double speed = length(velocity) * kKphPerMetrePerTick;
  // Beyond what an int holds (or not a number) reads as 999.
  int kph = speed >= 0.0 && speed < 1e9 ? int(speed) : 999;
  digits[0] = (kph / 100) % 10;
  digits[1] = (kph / 10) % 10;
  digits[2] = kph % 10;
}
