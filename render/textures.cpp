#include "render/textures.h"

#include "render/gl_ext.h"
#include "render/tga.h"

#include <GL/glu.h>

#include <cstring>

namespace {

// Anisotropy asked for, and the least worth turning on.
constexpr GLfloat kAnisotropy = 8.0f;
constexpr GLfloat kMinAnisotropy = 4.0f;

// The face letters of a six-file cube map, in the order of the GL faces +x, -x, +y, -y, +z, -z.
const char* const kFaceLetters[6] = {"xp", "xn", "yp", "yn", "zp", "zn"};

// Mesa's software rasterisers offer anisotropic filtering but all but stop on
// ground seen edge-on with it, so there the textures keep plain trilinear
// filtering and the game stays playable without a graphics card.
bool softwareRasterizer() {
  const char* name = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
  if (name == nullptr) return false;
  return std::strstr(name, "llvmpipe") != nullptr || std::strstr(name, "softpipe") != nullptr ||
         std::strstr(name, "Software Rasterizer") != nullptr;
}

void setFilters(int flags) {
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  if ((flags & kTextureAnisotropic) && !softwareRasterizer()) {
    GLfloat maximum = 0.0f;
    glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &maximum);
    if (maximum >= kMinAnisotropy) {
      glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, maximum < kAnisotropy ? maximum : kAnisotropy);
    }
  }
  if (flags & kTextureLinear) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  }
  if (flags & kTextureNearest) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  }
  GLint wrap = (flags & kTextureClamp) ? GL_CLAMP_TO_EDGE : GL_REPEAT;
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
}

// The decoded rows are tightly packed; GL's default expects rows padded to
// four bytes, which would skew every image whose row is not a multiple of four
// bytes and read past the end of the buffer.
class TightRows {
 public:
  TightRows() {
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &previous_);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  }
  ~TightRows() { glPixelStorei(GL_UNPACK_ALIGNMENT, previous_); }

 private:
  GLint previous_ = 4;
};

}  // namespace

bool isCubeMapPath(const char* path) {
  size_t length = std::strlen(path);
  return length >= 6 && path[length - 6] == 'c' && path[length - 5] == 'm';
}

Texture::~Texture() { release(); }

void Texture::release() {
  if (glName != 0) glDeleteTextures(1, &glName);
  glName = 0;
}

bool Texture::Load(const char* newPath) {
  path = newPath;
  isCubeMap = isCubeMapPath(newPath);
  release();
  if (!isCubeMap) return Load2D(newPath, kTextureAnisotropic);

  glEnable(GL_TEXTURE_CUBE_MAP_ARB);
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_CUBE_MAP_ARB, name);
  std::string facePath(newPath);
  size_t letters = facePath.size() - 6;
  int faceSize = 0;
  TightRows tightRows;
  for (int face = 0; face < 6; ++face) {
    facePath[letters] = kFaceLetters[face][0];
    facePath[letters + 1] = kFaceLetters[face][1];
    TgaImage image;
    // Faces go up as three bytes a pixel and must all be squares of one size.
    bool usable = readTga(facePath.c_str(), image) && image.bytesPerPixel == 3 && image.width == image.height &&
                  (face == 0 || image.width == faceSize);
    if (!usable) {
      glDeleteTextures(1, &name);
      return false;
    }
    faceSize = image.width;
    width = image.width;
    height = image.height;
    bytesPerPixel = image.bytesPerPixel;
    glTexImage2D(GL_TEXTURE_CUBE_MAP_POSITIVE_X_ARB + face, 0, GL_RGB8, image.width, image.height, 0, GL_RGB,
                 GL_UNSIGNED_BYTE, image.pixels.data());
  }
  glTexParameteri(GL_TEXTURE_CUBE_MAP_ARB, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_CUBE_MAP_ARB, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_CUBE_MAP_ARB, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_CUBE_MAP_ARB, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glName = name;
  return true;
}

bool Texture::Load2D(const char* newPath, int flags) {
  path = newPath;
  TgaImage image;
  if (!readTga(newPath, image)) return false;
  release();
  width = image.width;
  height = image.height;
  bytesPerPixel = image.bytesPerPixel;
  glEnable(GL_TEXTURE_2D);
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  setFilters(flags);
  GLenum format = bytesPerPixel == 4 ? GL_RGBA : GL_RGB;
  TightRows tightRows;
  gluBuild2DMipmaps(GL_TEXTURE_2D, bytesPerPixel, width, height, format, GL_UNSIGNED_BYTE, image.pixels.data());
  glName = name;
  return true;
}
