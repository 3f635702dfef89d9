#pragma once

#include <string>

// Creation flags of 2-D textures; the values are added.
enum TextureFlags {
  kTextureNearest = 1,      // min and mag filter nearest (wins over kTextureLinear)
  kTextureClamp = 2,        // wrap clamp-to-edge instead of repeat
  kTextureLinear = 4,       // min and mag filter linear, no filtering between mip levels
  kTextureAnisotropic = 8,  // anisotropic filtering where the hardware has at least 4
};

// An OpenGL texture read from TGA files: one 2-D image, or a cube map from six
// face files. Needs a current GL context.
struct Texture {
  unsigned int glName = 0;  // 0 until loaded
  int width = 0;            // of the last image read
  int height = 0;
  int bytesPerPixel = 0;    // 3 or 4
  std::string path;         // the cache key
  bool isCubeMap = false;

  Texture() = default;
  ~Texture();
  Texture(const Texture&) = delete;
  Texture& operator=(const Texture&) = delete;

  // A material texture: a name ending in "cm" plus a four-character extension
  // (envcm.tga) is a cube map of six files, anything else a 2-D texture with
  // anisotropic filtering.
  bool Load(const char* path);

  // A 2-D texture with the given TextureFlags; the display textures use this.
  bool Load2D(const char* path, int flags);

  unsigned int GLName() const { return glName; }

 private:
  // Deletes the GL texture of an earlier load, so loading again does not leak it.
  void release();
};

// Whether a texture path names a cube map: its sixth- and fifth-last characters
// are 'c' and 'm'.
bool isCubeMapPath(const char* path);
