#pragma once

#include "physics/mat4.h"
#include "physics/vec3.h"

#include <cstdint>

struct IndexRanges;
struct RMDMesh;

// One drawable piece of the scene. It owns none of its arrays: they belong to a
// mesh (or to the object that builds them, such as skid marks), and the
// position and orientation belong to the object that moves it. Everything is
// read at draw time, so a moving owner moves its geometry.
struct Geometry {
  static constexpr int kMaxTexCoordSets = 8;

  const char* materialName = nullptr;   // selects the material; null when empty
  const float* positions = nullptr;     // 3 per vertex, in the owner's frame
  const float* normals = nullptr;       // 3 per vertex, or null
  const float* forcedColors = nullptr;  // r, g, b per vertex, always applied; or null
  const float* colors = nullptr;        // r, g, b per vertex, tint a textured surface; or null
  const float* texCoords[kMaxTexCoordSets] = {};  // u, v per vertex, one array per set
  int texCoordSetCount = 0;             // 0..8
  const int32_t* triangleIndices = nullptr;  // 3 per triangle
  int triangleCount = 0;                // 0: never drawn
  int vertexCount = 0;
  const Vec3* position = nullptr;       // translation at draw time; null: the origin
  const Mat4* orientation = nullptr;    // rotation at draw time; null: identity
  // Geometry that never moves and never changes its arrays: its index ranges,
  // so that ranges outside the view are not submitted. Null: always drawn whole.
  const IndexRanges* ranges = nullptr;

  // Empty: never drawn.
  Geometry() = default;

  // The triangles of one material of `mesh`, pointing into the mesh's arrays.
  // A name the mesh does not have logs an error and leaves the geometry empty.
  Geometry(const RMDMesh& mesh, const char* name);

  // Caller-owned arrays; texCoords0 may be null (then no texture-coordinate set).
  Geometry(int vertexCount, const float* positions, const float* texCoords0, const float* normals,
           const float* forcedColors, const float* colors, int triangleCount, const int32_t* triangleIndices,
           const char* materialName);

  void SetTransform(const Vec3* newPosition, const Mat4* newOrientation) {
    position = newPosition;
    orientation = newOrientation;
  }

  // The shared empty geometry: the reflection entry of objects that must not
  // appear in cube maps.
  static Geometry& Empty();
};
