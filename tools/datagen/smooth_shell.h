#pragma once

#include "tools/datagen/mesh_builder.h"

#include <functional>
#include <vector>

// A model built from shared corner points and faces first, its normals worked
// out afterwards: each corner takes the area-weighted average of the faces
// around its point that share the face's material and bend from it by less
// than the crease angle. So a body lofted from cross-sections is smooth over
// its panels and split at hard edges and wherever the material changes.
struct SmoothShell {
  struct Face {
    int points[4];
    int count;     // 3 or 4
    int material;  // index into the builder's materials
  };
  std::vector<Vec3> points;
  std::vector<Face> faces;

  int point(const Vec3& p);
  // Counter-clockwise as seen from outside; faces without area are dropped.
  void triangle(int material, int a, int b, int c);
  void quad(int material, int a, int b, int c, int d);
};

// Texture coordinates and colour of a corner, from where it is and which way it faces.
struct CornerLook {
  double u, v;
  Vec3 color;
};
using CornerPainter = std::function<CornerLook(int material, const Vec3& position, const Vec3& normal)>;

// Writes the shell's faces into the builder with normals smoothed up to the
// crease angle (degrees); corners that agree in point, material and normal
// share one vertex.
void emitSmoothShell(const SmoothShell& shell, double creaseDegrees, const CornerPainter& painter,
                     MeshBuilder& mesh);
