#pragma once

#include <vector>

struct Geometry;
class PhCar;
class Renderer;
struct RMDMesh;

// The ghost car in the scene: the car's body and wheel meshes under the
// translucent "ghost" material, at the ghost car's drawn pose, left out of the
// reflections. Registered the first time the ghost is shown with its car
// built, so a drive that never shows it registers nothing; afterwards hidden
// by drawing no triangles.
struct GhostScene {
  RMDMesh* body = nullptr;   // not owned
  RMDMesh* wheel = nullptr;  // not owned
  bool registered = false;
  std::vector<Geometry*> geometries;  // owned
  std::vector<int> triangleCounts;    // each geometry's count while shown
};

// Once a frame before the scene is drawn: registers the geometry at `car`'s
// drawn pose the first time a car is given (null while the ghost is hidden or
// its car not yet built; the car must outlive the scene), then shows it when
// `visible` and hides it otherwise.
void updateGhostScene(GhostScene& scene, Renderer& renderer, const PhCar* car, bool visible);

// Frees the geometry; the renderer must be gone already.
void freeGhostScene(GhostScene& scene);
