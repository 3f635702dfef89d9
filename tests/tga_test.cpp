#include "render/tga.h"

#include "render_test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// An 18-byte header for an image of the given type, size and depth, with an ID
// field of `idLength` bytes.
std::vector<uint8_t> header(int type, int width, int height, int depth, int idLength = 0) {
  std::vector<uint8_t> h(18, 0);
  h[0] = uint8_t(idLength);
  h[2] = uint8_t(type);
  h[12] = uint8_t(width & 0xff);
  h[13] = uint8_t(width >> 8);
  h[14] = uint8_t(height & 0xff);
  h[15] = uint8_t(height >> 8);
  h[16] = uint8_t(depth);
  h.resize(18 + idLength, 0x7e);
  return h;
}

bool parse(const std::vector<uint8_t>& bytes, TgaImage& image) {
  std::string why;
  return parseTga(bytes.data(), bytes.size(), image, why);
}

}  // namespace

TEST(Tga, TwentyFourBitPixelsBecomeRedGreenBlueInFileRowOrder) {
  std::vector<uint8_t> file = header(2, 2, 1, 24);
  file.insert(file.end(), {10, 20, 30, 40, 50, 60});
  TgaImage image;
  ASSERT_TRUE(parse(file, image));
  EXPECT_EQ(image.width, 2);
  EXPECT_EQ(image.height, 1);
  EXPECT_EQ(image.bytesPerPixel, 3);
  EXPECT_EQ(image.pixels, (std::vector<uint8_t>{30, 20, 10, 60, 50, 40}));
}

TEST(Tga, ThirtyTwoBitKeepsAlphaAsFourthByteAndSkipsTheIdField) {
  std::vector<uint8_t> file = header(2, 1, 2, 32, 3);
  file.insert(file.end(), {1, 2, 3, 200, 4, 5, 6, 7});
  TgaImage image;
  ASSERT_TRUE(parse(file, image));
  EXPECT_EQ(image.bytesPerPixel, 4);
  // Rows are not flipped: the first file row comes first.
  EXPECT_EQ(image.pixels, (std::vector<uint8_t>{3, 2, 1, 200, 6, 5, 4, 7}));
}

TEST(Tga, MalformedImagesAreRejectedWithAReason) {
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
  };
  std::vector<uint8_t> rle = header(10, 1, 1, 24);
  rle.insert(rle.end(), {1, 2, 3, 4});
  std::vector<uint8_t> sixteenBit = header(2, 1, 1, 16);
  sixteenBit.insert(sixteenBit.end(), {1, 2});
  std::vector<uint8_t> eightBit = header(2, 1, 1, 8);
  eightBit.push_back(1);
  std::vector<uint8_t> cutPixels = header(2, 2, 2, 24);
  cutPixels.insert(cutPixels.end(), 11, 0);  // one byte short
  std::vector<uint8_t> cutId = header(2, 1, 1, 24);
  cutId[0] = 200;  // ID field longer than the file
  std::vector<uint8_t> shortHeader = header(2, 1, 1, 24);
  shortHeader.resize(17);
  std::vector<uint8_t> huge = header(2, 65535, 65535, 32);
  huge.insert(huge.end(), 64, 0);
  const Case cases[] = {
      {"empty file", {}},
      {"header cut short", shortHeader},
      {"run-length encoded", rle},
      {"16-bit", sixteenBit},
      {"8-bit", eightBit},
      {"zero width", header(2, 0, 4, 24)},
      {"pixels cut short", cutPixels},
      {"ID field past the end", cutId},
      {"absurd size", huge},
  };
  for (const Case& c : cases) {
    TgaImage image;
    std::string why;
    EXPECT_FALSE(parseTga(c.bytes.data(), c.bytes.size(), image, why)) << c.what;
    EXPECT_FALSE(why.empty()) << c.what;
  }
}

TEST(Tga, MissingFileFailsQuietlyAndRejectedFileIsLogged) {
  render_test::ScratchFolder scratch;
  TgaImage image;
  EXPECT_FALSE(readTga("data\\textures\\absent.tga", image));
  std::vector<uint8_t> rle = header(10, 1, 1, 24);
  render_test::writeFile("data/textures/rle.tga", std::string(rle.begin(), rle.end()));
  EXPECT_FALSE(readTga("data\\textures\\rle.tga", image));
  EXPECT_EQ(render_test::logText(),
            "Log started\nMatRenderer: Texture \"data\\textures\\rle.tga\" rejected: image type 10 is not "
            "uncompressed true-colour");
}
