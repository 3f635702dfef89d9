#pragma once

#include "tools/datagen/data_set.h"

#include <string>
#include <vector>

// One GLSL 1.10 program: its vertex and fragment sources.
struct ShaderPair {
  std::string name;  // "paint" -> data\shaders\paint.vs and paint.fs
  std::string vertex;
  std::string fragment;
};

// Car paint and glass over the dynamic cube map, chrome over a fixed one,
// plain lit surfaces, road with a detail picture and ground, sky, trees,
// skid marks and the car shadow.
std::vector<ShaderPair> buildShaders();

void writeShaders(DataSetWriter& writer);
