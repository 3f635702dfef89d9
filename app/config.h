#pragma once

#include <cstddef>
#include <cstdint>

// The seven values of config.txt, taken by position; 0 until read.
struct AppConfig {
  int32_t windowwidth = 0;   // client width; also the fullscreen mode width
  int32_t windowheight = 0;  // client height; also the fullscreen mode height
  int32_t bitsperpixel = 0;  // colour bits of the pixel format and the fullscreen mode
  int32_t refreshrate = 0;   // Hz asked of the fullscreen mode
  int32_t fullscreen = 0;    // non-zero asks for an exclusive fullscreen mode
  int32_t vsync = 0;         // swap interval
  int32_t fsaa = 0;          // multisample samples; 0 or less means none
};

// The exact text written when config.txt is missing (no line end at the end).
extern const char kDefaultConfigText[];

// The values that go with the default text.
AppConfig defaultConfig();

// Reads seven times a whitespace-delimited word (at most 99 characters, not
// compared with the key names) and a decimal integer. The first read that
// fails leaves that value and all later ones at 0. Numbers beyond the 32-bit
// range are clamped to it.
AppConfig parseConfig(const char* text, size_t size);

// Reads the file at path; when it does not open, writes the default text there
// and returns the defaults (also when the file cannot be created).
AppConfig loadConfig(const char* path);
