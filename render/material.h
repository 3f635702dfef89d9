#pragma once

#include "physics/ptr_list.h"
#include "physics/vec3.h"
#include "render/geometry.h"
#include "render/material_script.h"

#include <string>

class MatRenderer;

// How a surface is drawn: a compiled material script, replayed each time the
// material is drawn.
struct Material : MaterialScript {
  // Normal frame, or while a dynamic cube map is rendered.
  static constexpr int kNormalPass = 0;
  static constexpr int kCubemapPass = 1;

  std::string name;                   // the material name the script was loaded for
  int cubemapId = 0;                  // key given by the Renderer; id of the dynamic cube map
  const Vec3* cubemapCenter = nullptr;  // where the dynamic cube map is rendered from; may be null
  MatRenderer* matRenderer = nullptr;

  // Compiles "data\materials\" + name + ".txt". False when the script is
  // missing and the default material (one Draw) was made instead.
  bool Load(const char* materialName, MatRenderer* renderer);

  // Replays the commands from the reset state. In the cube-map pass a material
  // with a CubemapSection performs only the commands after it; Draw draws
  // mainList in the normal pass and reflectionList in the cube-map pass.
  void Execute(const PtrList<Geometry>& mainList, const PtrList<Geometry>& reflectionList, int pass);
};
