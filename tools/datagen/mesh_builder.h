#pragma once

#include "physics/vec3.h"
#include "render/rmd_mesh.h"

#include <string>
#include <vector>

// One vertex of a model being built.
struct MeshVertex {
  Vec3 position;
  Vec3 normal;
  Vec3 color;       // r, g, b
  double u, v;      // texture set 0
  double u1, v1;    // texture set 1 (written only when the builder has two sets)
};

// Collects a model's vertex pool and its per-material triangle lists, then
// hands them over as an RMDMesh for the writer. Triangles are given
// counter-clockwise as seen from their visible side.
struct MeshBuilder {
  std::vector<std::string> materials;
  std::vector<MeshVertex> vertices;
  std::vector<std::vector<int>> triangles;  // 3 indices a triangle, per material
  bool secondTexCoordSet = false;

  // Index of the material, added at the end on first use.
  int material(const std::string& name);
  int addVertex(const MeshVertex& vertex);
  int addVertex(const Vec3& position, const Vec3& normal, const Vec3& color, double u, double v);
  void addTriangle(int material, int a, int b, int c);
  // Two triangles a-b-c and a-c-d of a counter-clockwise quad.
  void addQuad(int material, int a, int b, int c, int d);

  int triangleCount() const;
  RMDMesh toMesh() const;
};

// The outward normal of triangle a, b, c (counter-clockwise), unit length.
Vec3 faceNormal(const Vec3& a, const Vec3& b, const Vec3& c);
