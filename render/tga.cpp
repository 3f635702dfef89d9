#include "render/tga.h"

#include "app/files.h"
#include "app/log.h"

namespace {

constexpr size_t kHeaderSize = 18;
constexpr uint8_t kUncompressedTrueColour = 2;

int readU16(const uint8_t* p) { return p[0] | (p[1] << 8); }

}  // namespace

bool parseTga(const uint8_t* data, size_t size, TgaImage& out, std::string& why) {
  if (size < kHeaderSize) {
    why = "header cut short";
    return false;
  }
  size_t idLength = data[0];
  if (data[2] != kUncompressedTrueColour) {
    why = "image type " + std::to_string(data[2]) + " is not uncompressed true-colour";
    return false;
  }
  int width = readU16(data + 12);
  int height = readU16(data + 14);
  int depth = data[16];
  if (depth != 24 && depth != 32) {
    why = "pixel depth " + std::to_string(depth) + " is not 24 or 32 bits";
    return false;
  }
  if (width == 0 || height == 0) {
    why = "empty image";
    return false;
  }
  int bytesPerPixel = depth / 8;
  // Widths and heights are 16-bit, so the product fits in 64 bits; comparing it
  // with what the file holds bounds the allocation by the file size.
  uint64_t pixelBytes = uint64_t(width) * uint64_t(height) * uint64_t(bytesPerPixel);
  size_t pixelStart = kHeaderSize + idLength;
  if (pixelStart > size || pixelBytes > size - pixelStart) {
    why = "pixel data cut short";
    return false;
  }
  out.width = width;
  out.height = height;
  out.bytesPerPixel = bytesPerPixel;
  out.pixels.resize(pixelBytes);
  const uint8_t* src = data + pixelStart;
  uint8_t* dst = out.pixels.data();
  for (uint64_t i = 0; i < pixelBytes; i += bytesPerPixel) {
    // The file stores blue, green, red (, alpha).
    dst[i + 2] = src[i];
    dst[i + 1] = src[i + 1];
    dst[i] = src[i + 2];
    if (bytesPerPixel == 4) dst[i + 3] = src[i + 3];
  }
  return true;
}

bool readTga(const char* path, TgaImage& out) {
  std::vector<unsigned char> bytes;
  std::string why;
  if (!readWholeFile(path, kMaxTgaFileBytes, bytes, why)) {
    if (pathExists(path)) logLine("MatRenderer: Texture \"%s\" rejected: %s", path, why.c_str());
    return false;
  }
  if (!parseTga(bytes.data(), bytes.size(), out, why)) {
    logLine("MatRenderer: Texture \"%s\" rejected: %s", path, why.c_str());
    return false;
  }
  return true;
}
