#include "tools/datagen/image.h"
#include "tools/datagen/mesh_builder.h"
#include "tools/datagen/sounds.h"
#include "tools/datagen/track_layout.h"

#include "render/rmd_mesh.h"
#include "render/tga.h"
#include "tools/rmd_writer/rmd_writer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

constexpr float kExact = 0.0f;

}  // namespace

TEST(DatagenTga, PictureBottomRowIsTheFirstTextureRow) {
  Image image(2, 2);
  image.set(0, 0, 1.0f, 0.0f, 0.0f);  // top left: red
  image.set(1, 0, 1.0f, 0.0f, 0.0f);
  image.set(0, 1, 0.0f, 0.0f, 1.0f, 0.5f);  // bottom left: blue, half alpha
  image.set(1, 1, 0.0f, 1.0f, 0.0f);
  for (int bits : {24, 32}) {
    std::vector<uint8_t> bytes = encodeTga(image, bits);
    ASSERT_EQ(bytes.size(), 18u + 4u * size_t(bits / 8));
    EXPECT_EQ(bytes[2], 2);  // uncompressed true-colour
    EXPECT_EQ(bytes[16], bits);
    TgaImage read;
    std::string why;
    ASSERT_TRUE(parseTga(bytes.data(), bytes.size(), read, why)) << why;
    // Texture row t = 0 is the picture's bottom row: blue, then green.
    EXPECT_EQ(read.pixels[0], 0);
    EXPECT_EQ(read.pixels[2], 255);
    EXPECT_EQ(read.pixels[size_t(read.bytesPerPixel) + 1], 255);
    EXPECT_EQ(read.pixels[size_t(2 * read.bytesPerPixel)], 255);  // top row red
    if (bits == 32) {
      EXPECT_EQ(read.pixels[3], 128);
    }
  }
}

TEST(DatagenWav, HeaderDescribes16BitMonoAndLoudSamplesClip) {
  std::vector<uint8_t> bytes = encodeWav({0.0f, 1.0f, -1.0f, 3.0f, -3.0f});
  ASSERT_EQ(bytes.size(), 44u + 10u);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "RIFF");
  EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 16), "WAVEfmt ");
  int16_t fields[4];
  std::memcpy(fields, bytes.data() + 20, 4);  // format, channels
  EXPECT_EQ(fields[0], 1);
  EXPECT_EQ(fields[1], 1);
  int32_t rate;
  std::memcpy(&rate, bytes.data() + 24, 4);
  EXPECT_EQ(rate, kSampleRate);
  int16_t samples[5];
  std::memcpy(samples, bytes.data() + 44, 10);
  EXPECT_EQ(samples[1], 32767);
  EXPECT_EQ(samples[2], -32767);
  EXPECT_EQ(samples[3], 32767);  // clipped, not wrapped
  EXPECT_EQ(samples[4], -32767);
}

TEST(DatagenMesh, BuiltModelSurvivesTheWriterWithBothTextureSets) {
  MeshBuilder b;
  b.secondTexCoordSet = true;
  int road = b.material("road"), grass = b.material("grass");
  EXPECT_EQ(b.material("road"), road);  // names are not repeated
  int v[4];
  for (int k = 0; k < 4; ++k)
    v[k] = b.addVertex(MeshVertex{Vec3(k & 1, 0.0, k >> 1), Vec3(0, 1, 0), Vec3(1, 1, 1), 0.25 * k, 0.5, 3.0 * k, -1.0});
  b.addQuad(road, v[0], v[2], v[3], v[1]);
  b.addTriangle(grass, v[0], v[2], v[1]);
  EXPECT_EQ(b.triangleCount(), 3);
  std::vector<uint8_t> bytes = writeRmd(b.toMesh());
  RMDMesh mesh;
  std::string why;
  ASSERT_TRUE(parseRmd(bytes.data(), bytes.size(), mesh, why)) << why;
  EXPECT_EQ(mesh.materialCount, 2);
  EXPECT_EQ(mesh.triangleCounts[0], 2);
  EXPECT_EQ(mesh.triangleCounts[1], 1);
  ASSERT_EQ(mesh.texCoordSetCount, 2);
  EXPECT_NEAR(mesh.texCoords[1][6], 9.0f, kExact);
  EXPECT_NEAR(mesh.texCoords[0][6], 0.75f, kExact);
}

TEST(DatagenGround, SinksUnderTheRibbonAndBlendsIntoTheHills) {
  TrackLayout layout = buildTrackLayout();
  const Vec3& c = layout.centre[100];
  Vec3 r = rightOf(layout.tangent[100]);
  // Under the road the ground stays below the run-off so it never shows through.
  for (double offset : {0.0, 5.0, 9.0, -9.0}) {
    double x = c.x + r.x * offset, z = c.z + r.z * offset;
    EXPECT_LT(groundHeight(layout, x, z), ribbonHeight(c.y, offset) - 0.05) << offset;
  }
  // The run-off's outer edge meets the ground exactly.
  double x = c.x + r.x * kRunoffOuter, z = c.z + r.z * kRunoffOuter;
  EXPECT_NEAR(groundHeight(layout, x, z), ribbonHeight(c.y, kRunoffOuter), 0.02);
  // Far from the circuit the ground is the hills.
  EXPECT_NEAR(groundHeight(layout, 0.0, 60.0), naturalHeight(layout.terrain, 0.0, 60.0) + layout.heightOffset, 1e-9);
}
