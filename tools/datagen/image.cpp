#include "tools/datagen/image.h"

#include <algorithm>
#include <cmath>

Image::Image(int w, int h) : width(w), height(h), pixels(size_t(w) * size_t(h) * 4, 0.0f) {}

void Image::set(int x, int y, float r, float g, float b, float a) {
  float* p = at(x, y);
  p[0] = r;
  p[1] = g;
  p[2] = b;
  p[3] = a;
}

void Image::fill(float r, float g, float b, float a) {
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) set(x, y, r, g, b, a);
}

void Image::blendOver(int x, int y, float r, float g, float b, float a) {
  if (x < 0 || y < 0 || x >= width || y >= height) return;
  float* p = at(x, y);
  p[0] += (r - p[0]) * a;
  p[1] += (g - p[1]) * a;
  p[2] += (b - p[2]) * a;
  p[3] = std::max(p[3], a);
}

namespace {

uint8_t toByte(float v) {
  float c = std::min(1.0f, std::max(0.0f, v));
  return uint8_t(std::lround(c * 255.0f));
}

}  // namespace

std::vector<uint8_t> encodeTga(const Image& image, int bitsPerPixel) {
  const int bytesPerPixel = bitsPerPixel / 8;
  std::vector<uint8_t> out(18, 0);
  out[2] = 2;  // uncompressed true-colour
  out[12] = uint8_t(image.width & 0xff);
  out[13] = uint8_t(image.width >> 8);
  out[14] = uint8_t(image.height & 0xff);
  out[15] = uint8_t(image.height >> 8);
  out[16] = uint8_t(bitsPerPixel);
  out[17] = bytesPerPixel == 4 ? 8 : 0;  // alpha bits; lower-left origin
  out.reserve(out.size() + size_t(image.width) * size_t(image.height) * size_t(bytesPerPixel));
  for (int y = image.height - 1; y >= 0; --y) {
    for (int x = 0; x < image.width; ++x) {
      const float* p = image.at(x, y);
      out.push_back(toByte(p[2]));
      out.push_back(toByte(p[1]));
      out.push_back(toByte(p[0]));
      if (bytesPerPixel == 4) out.push_back(toByte(p[3]));
    }
  }
  return out;
}
