#pragma once

#include <vector>

struct Geometry;
struct Ghosts;
class Renderer;
struct RMDMesh;

// The ghost car in the scene: the car's body and wheel meshes under the
// translucent "ghost" material, at the ghost car's drawn pose, left out of the
// reflections. Registered the first time the ghost is shown, so a drive that
// never shows it registers nothing; afterwards hidden by drawing no triangles.
struct GhostScene {
  RMDMesh* body = nullptr;   // not owned
  RMDMesh* wheel = nullptr;  // not owned
  bool registered = false;
  std::vector<Geometry*> geometries;  // owned
  std::vector<int> triangleCounts;    // each geometry's count while shown
};

// Once a frame before the scene is drawn: registers the geometry when the
// ghost is first shown, then shows or hides it. `inReplay` hides it while the
// replay viewer plays: the drive it races stands still then.
void updateGhostScene(GhostScene& scene, Ghosts& ghosts, Renderer& renderer, bool inReplay);

// Frees the geometry; the renderer must be gone already.
void freeGhostScene(GhostScene& scene);
