#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A picture being made: rows from the top down, four float channels (red,
// green, blue, alpha) in 0..1 per pixel. Saving decides how many of them go out.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<float> pixels;  // 4 per pixel, row 0 at the top

  Image() = default;
  Image(int w, int h);

  float* at(int x, int y) { return &pixels[(size_t(y) * size_t(width) + size_t(x)) * 4]; }
  const float* at(int x, int y) const { return &pixels[(size_t(y) * size_t(width) + size_t(x)) * 4]; }
  void set(int x, int y, float r, float g, float b, float a = 1.0f);
  void fill(float r, float g, float b, float a);
  // Blends (r, g, b) over the pixel with coverage `a`, keeping the larger alpha.
  void blendOver(int x, int y, float r, float g, float b, float a);
};

// An uncompressed true-colour TGA image (type 2) with 24 or 32 bits a pixel.
// Rows go out from the bottom of the picture up, as the format's default
// lower-left origin says, so the picture's bottom row is texture row t = 0.
std::vector<uint8_t> encodeTga(const Image& image, int bitsPerPixel);
