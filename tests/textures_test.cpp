#include "render/textures.h"

#include "render/gl_ext.h"
#include "render_gl_support.h"

#include <gtest/gtest.h>

#include <cstring>

#include <vector>

using namespace render_test;

namespace {

class TexturesTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(window.ok()); }

  GLint parameter(GLenum name) {
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
    return value;
  }

  ScratchFolder scratch;
  GLWindow window;
};

const std::vector<uint8_t> kBlueGreenRedPixels = {10, 20, 30, 40, 50, 60};

}  // namespace

TEST_F(TexturesTest, PixelsReachGlInFileRowOrderAsRedGreenBlue) {
  writeFile("data/textures/two.tga", tgaFile(1, 2, 24, kBlueGreenRedPixels));
  Texture texture;
  ASSERT_TRUE(texture.Load("data\\textures\\two.tga"));
  EXPECT_FALSE(texture.isCubeMap);
  EXPECT_NE(texture.GLName(), 0u);
  EXPECT_EQ(texture.path, "data\\textures\\two.tga");
  glBindTexture(GL_TEXTURE_2D, texture.GLName());
  unsigned char got[6] = {};
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, got);
  EXPECT_EQ(std::vector<uint8_t>(got, got + 6), (std::vector<uint8_t>{30, 20, 10, 60, 50, 40}));
  GLint alphaBits = -1;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_ALPHA_SIZE, &alphaBits);
  EXPECT_EQ(alphaBits, 0);
}

TEST_F(TexturesTest, ThirtyTwoBitImageKeepsItsAlpha) {
  writeFile("data/textures/glass.tga", tgaFile(1, 1, 32, {1, 2, 3, 77}));
  Texture texture;
  ASSERT_TRUE(texture.Load2D("data\\textures\\glass.tga", kTextureLinear));
  EXPECT_EQ(texture.bytesPerPixel, 4);
  unsigned char got[4] = {};
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, got);
  EXPECT_EQ(got[3], 77);
}

TEST_F(TexturesTest, CreationFlagsChooseFilterWrapAndAnisotropy) {
  writeFile("data/textures/a.tga", tgaFile(1, 1, 24, {1, 2, 3}));
  GLfloat maximum = 0;
  glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &maximum);
  struct Case {
    int flags;
    GLint minFilter, magFilter, wrap;
  };
  const Case cases[] = {
      {kTextureAnisotropic, GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR, GL_REPEAT},
      {kTextureLinear, GL_LINEAR, GL_LINEAR, GL_REPEAT},
      {kTextureNearest | kTextureLinear, GL_NEAREST, GL_NEAREST, GL_REPEAT},
      {kTextureClamp, GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR, GL_CLAMP_TO_EDGE},
  };
  for (const Case& c : cases) {
    Texture texture;
    ASSERT_TRUE(texture.Load2D("data\\textures\\a.tga", c.flags));
    EXPECT_EQ(parameter(GL_TEXTURE_MIN_FILTER), c.minFilter) << c.flags;
    EXPECT_EQ(parameter(GL_TEXTURE_MAG_FILTER), c.magFilter) << c.flags;
    EXPECT_EQ(parameter(GL_TEXTURE_WRAP_S), c.wrap) << c.flags;
    EXPECT_EQ(parameter(GL_TEXTURE_WRAP_T), c.wrap) << c.flags;
    GLfloat anisotropy = 0;
    glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, &anisotropy);
    // Mesa's software rasterisers, which these tests run on, keep plain
    // trilinear filtering; hardware gets 8, or its maximum when below 8.
    const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    bool software = std::strstr(renderer, "llvmpipe") || std::strstr(renderer, "softpipe") ||
                    std::strstr(renderer, "Software Rasterizer");
    float want = 1.0f;
    if ((c.flags & kTextureAnisotropic) && maximum >= 4.0f && !software) want = maximum < 8.0f ? maximum : 8.0f;
    EXPECT_EQ(anisotropy, want) << c.flags;
  }
}

TEST_F(TexturesTest, NameEndingInCmLoadsSixFacesAsACubeMap) {
  const char* const faces[6] = {"xp", "xn", "yp", "yn", "zp", "zn"};
  for (int i = 0; i < 6; ++i) {
    uint8_t shade = uint8_t(10 * (i + 1));
    writeFile(std::string("data/textures/env") + faces[i] + ".tga", tgaFile(2, 2, 24, std::vector<uint8_t>(12, shade)));
  }
  Texture texture;
  ASSERT_TRUE(texture.Load("data\\textures\\envcm.tga"));
  EXPECT_TRUE(texture.isCubeMap);
  glBindTexture(GL_TEXTURE_CUBE_MAP_ARB, texture.GLName());
  for (int i = 0; i < 6; ++i) {
    unsigned char got[12] = {};
    glGetTexImage(GL_TEXTURE_CUBE_MAP_POSITIVE_X_ARB + i, 0, GL_RGB, GL_UNSIGNED_BYTE, got);
    EXPECT_EQ(got[0], 10 * (i + 1)) << faces[i];
  }
}

TEST_F(TexturesTest, CubeMapFailsOnAMissingOrMismatchedFace) {
  for (const char* face : {"xp", "xn", "yp", "yn", "zp"}) {
    writeFile(std::string("data/textures/sky") + face + ".tga", tgaFile(1, 1, 24, {1, 2, 3}));
  }
  Texture missing;
  EXPECT_FALSE(missing.Load("data\\textures\\skycm.tga"));
  EXPECT_EQ(missing.GLName(), 0u);
  // A 32-bit face cannot go up as three bytes a pixel.
  writeFile("data/textures/skyzn.tga", tgaFile(1, 1, 32, {1, 2, 3, 4}));
  Texture deep;
  EXPECT_FALSE(deep.Load("data\\textures\\skycm.tga"));
  writeFile("data/textures/skyzn.tga", tgaFile(2, 2, 24, std::vector<uint8_t>(12, 0)));
  Texture mismatched;
  EXPECT_FALSE(mismatched.Load("data\\textures\\skycm.tga"));
}

TEST(TexturePaths, CubeMapIsDecidedByTheLettersBeforeTheExtension) {
  EXPECT_TRUE(isCubeMapPath("envcm.tga"));
  EXPECT_TRUE(isCubeMapPath("cm.tga"));
  EXPECT_FALSE(isCubeMapPath("m.tga"));
  EXPECT_FALSE(isCubeMapPath("envcm.tg"));
  EXPECT_FALSE(isCubeMapPath("envCM.tga"));
}
