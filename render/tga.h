#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// An uncompressed true-colour TGA image converted to tightly packed red, green,
// blue (and alpha) bytes, rows in file order (the first file row is t = 0).
struct TgaImage {
  int width = 0;
  int height = 0;
  int bytesPerPixel = 0;  // 3 or 4
  std::vector<uint8_t> pixels;
};

// Decodes a TGA file image. Anything but an uncompressed true-colour image of
// 24 or 32 bits, an empty image, or one whose pixels the data does not hold is
// rejected with `why` set.
bool parseTga(const uint8_t* data, size_t size, TgaImage& out, std::string& why);

// The largest TGA file read: a 4096 x 4096 image of 32 bits with its ID and
// room for a trailing extension area. A larger file is refused by its size.
constexpr size_t kMaxTgaFileBytes = 18 + 255 + size_t(4096) * 4096 * 4 + 65536;

// Reads and decodes a TGA file. A missing file fails quietly (the caller
// reports it); a file that is there but rejected (malformed, not a regular
// file, too large) is logged with the reason.
bool readTga(const char* path, TgaImage& out);
