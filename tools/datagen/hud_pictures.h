#pragma once

#include "tools/datagen/textures.h"

#include <string>
#include <vector>

// The font the overlay's words are drawn in, from the system's DejaVu fonts.
extern const char* const kHudFontPath;
extern const char* const kHudNarrowFontPath;

// The overlay pictures: numbers.tga (16 glyphs: digits, colon, point, four
// blanks), menu.tga (title, Restart, Quit, the options heading and the four
// switch labels where the cursor and switches fall), menu_onoff.tga (ON left,
// OFF right), info.tga (the controls) and timing.tga (the timing aids' signs
// and words). False with `why` set when the font
// cannot be read.
bool buildHudPictures(std::vector<TextureFile>& out, std::string& why);

// Overlay layout of the menu picture, in overlay units (x right, y down).
constexpr double kMenuLeft = 0.0, kMenuTop = -5.0, kMenuSize = 60.0;
constexpr double kActionCursorX = 3.0, kActionCursorY0 = 12.5;  // items 0 and 1
constexpr double kOptionCursorX = 28.0;                         // items 3..6 at y = 7 x item
constexpr double kSwitchLeft = 52.0;                            // switches start here
constexpr double kItemSpacing = 7.0;
