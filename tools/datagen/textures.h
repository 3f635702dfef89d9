#pragma once

#include "tools/datagen/data_set.h"
#include "tools/datagen/image.h"

#include <string>
#include <vector>

// One picture of the data set and how it is stored.
struct TextureFile {
  std::string path;  // "data\\textures\\road.tga"
  Image image;
  int bitsPerPixel;  // 24, or 32 where the alpha matters
};

// Every surface picture of the models, the shadow and the skid marks, and the
// six faces of the chrome's surroundings (envcm.tga by the cube-map name rule).
std::vector<TextureFile> buildSurfaceTextures();

// Writes the pictures as TGA files.
void writeTextures(DataSetWriter& writer, const std::vector<TextureFile>& textures);
