#include "tools/icon/icon_picture.h"
#include "tools/icon/png_file.h"

#include <png.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace {

// Decodes a PNG with libpng into 8-bit RGBA; empty when libpng refuses it.
std::vector<uint8_t> decodeRgba(const std::vector<uint8_t>& png, int& width, int& height) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, png.data(), png.size())) return {};
  image.format = PNG_FORMAT_RGBA;
  std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return {};
  width = int(image.width);
  height = int(image.height);
  return pixels;
}

}  // namespace

TEST(PngFile, RoundTripKeepsEveryChannelAndRow) {
  Image picture(3, 2);
  picture.set(0, 0, 1.0f, 0.0f, 0.0f, 1.0f);
  picture.set(2, 0, 0.0f, 0.0f, 1.0f, 0.5f);
  picture.set(1, 1, 0.2f, 0.4f, 0.6f, 1.0f);
  picture.set(2, 1, 2.0f, -1.0f, 0.5f, 1.0f);  // out of range: clamped
  std::vector<uint8_t> png;
  std::string why;
  ASSERT_TRUE(encodePng(picture, png, why)) << why;
  int w = 0, h = 0;
  std::vector<uint8_t> rgba = decodeRgba(png, w, h);
  ASSERT_EQ(w, 3);
  ASSERT_EQ(h, 2);
  const std::vector<uint8_t> expected = {255, 0, 0,   255, 0,  0,   0,   0,   0,   0, 255, 128,
                                         0,   0, 0,   0,   51, 102, 153, 255, 255, 0, 128, 255};
  EXPECT_EQ(rgba, expected);
}

TEST(PngFile, EmptyPictureIsRefused) {
  std::vector<uint8_t> png;
  std::string why;
  EXPECT_FALSE(encodePng(Image(), png, why));
  EXPECT_FALSE(why.empty());
}

TEST(IconPicture, CornersAreClearAndTheMiddleOpaqueAtEverySize) {
  for (int size : {16, 48, 256}) {
    Image icon = drawIcon(size);
    ASSERT_EQ(icon.width, size);
    EXPECT_LT(icon.at(0, 0)[3], 0.1f) << size;  // the rounded corner leaves at most a sliver
    EXPECT_LT(icon.at(size - 1, size - 1)[3], 0.1f) << size;
    EXPECT_EQ(icon.at(size / 2, size / 2)[3], 1.0f) << size;
    EXPECT_EQ(icon.at(size / 2, 0)[3], 1.0f) << size;  // the square reaches the edges between its corners
  }
}
