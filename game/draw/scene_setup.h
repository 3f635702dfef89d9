#pragma once

#include "game/game_state.h"
#include "physics/mat4.h"
#include "physics/vec3.h"

#include <vector>

struct Geometry;
class PhCar;
class Renderer;
struct RMDMesh;

// Every Geometry the game made, freed at shutdown after the renderer, and the
// identity transform and zero position shared by everything placed once.
struct SceneInstances {
  std::vector<Geometry*> geometries;
  Mat4 identity = identityMat4();
  Vec3 zero{0.0, 0.0, 0.0};
};

// The trees: one position and one orientation each, kept for the renderer's
// references until shutdown.
struct PropTable {
  int count = 0;
  std::vector<Vec3> positions;
  std::vector<Mat4> orientations;
};

// Draws `mesh` at `position` with `orientation` (both read at draw time) using
// its first six materials, in the main view and in reflections.
void registerMeshInstance(RMDMesh& mesh, Renderer& renderer, Vec3& position, Mat4& orientation,
                          int cubemapId, SceneInstances& instances);

// The same for a model that never moves (the track, trees, cones): the
// renderer may leave out those of its index ranges that a view cannot show.
void registerFixedMeshInstance(RMDMesh& mesh, Renderer& renderer, Vec3& position, Mat4& orientation,
                               int cubemapId, SceneInstances& instances);

// Reads `fileName` (the start position and heading into `state`, then one tree
// per record). False when the file cannot be read; the start stays at the origin.
bool loadProps(const char* fileName, RMDMesh& tree, Renderer& renderer, GameState& state,
               PropTable& props, SceneInstances& instances);

// The car body at the car's drawn pose and the wheel mesh at each wheel's
// drawn hub and matrix, all with reflection cube map 1.
void registerCarInstances(PhCar& car, RMDMesh& body, RMDMesh& wheel, Renderer& renderer,
                          SceneInstances& instances);

// A cone at each end of the start line (computeStartLine first).
void registerStartCones(GameState& state, RMDMesh& cone, Renderer& renderer,
                        SceneInstances& instances);

// The four skid-mark trails and the car shadow, drawn from their arrays in
// `state` and left out of reflections.
void createSkidMarkGeometry(GameState& state, Renderer& renderer, SceneInstances& instances);
void createShadowGeometry(GameState& state, Renderer& renderer, SceneInstances& instances);

// Frees the Geometry objects; the renderer must be gone already.
void freeSceneInstances(SceneInstances& instances);
void freeProps(PropTable& props);
