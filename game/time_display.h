#pragma once

#include "physics/vec3.h"

#include <string>

// Glyphs of the numbers texture: 0-9 the digits, then the colon and the point.
constexpr int kGlyphColon = 10;
constexpr int kGlyphPoint = 11;

// A lap time as M:SS.CC: seven glyphs and their x offsets from the time's
// position in overlay units. The minutes are one glyph, so 600 s and more show
// glyph 10 or higher there.
constexpr int kTimeGlyphCount = 7;
constexpr float kTimeGlyphOffsets[kTimeGlyphCount] = {1.0f, 2.5f, 4.0f, 6.0f, 7.5f, 9.0f, 11.0f};
void timeGlyphs(float seconds, int glyphs[kTimeGlyphCount]);

// The same glyphs as text, "1:15.50"; minutes past 9 print as a number.
std::string lapTimeText(float seconds);

// The road speed in km/h, truncated, as hundreds, tens and units with leading
// zeros (the thousands are not shown). `velocity` in metres per tick.
void speedDigits(const Vec3& velocity, int digits[3]);
