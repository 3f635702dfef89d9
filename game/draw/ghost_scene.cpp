#include "game/draw/ghost_scene.h"

#include "render/geometry.h"
#include "render/renderer.h"
#include "render/rmd_mesh.h"
#include "vehicle/car.h"

namespace {

constexpr const char* kGhostMaterial = "ghost";
constexpr int kMaxInstanceMaterials = 6;
constexpr int kStaticCubemapId = 0;

// Every material group of `mesh` under the ghost material, moved by the pose.
void addMesh(GhostScene& scene, const RMDMesh& mesh, const Vec3& position, const Mat4& orientation,
             Renderer& renderer) {
  int groups = mesh.materialCount < kMaxInstanceMaterials ? mesh.materialCount : kMaxInstanceMaterials;
  for (int i = 0; i < groups; ++i) {
    const float* texCoords = mesh.texCoords[0].empty() ? nullptr : mesh.texCoords[0].data();
    const float* normals = mesh.normals.empty() ? nullptr : mesh.normals.data();
    Geometry* g = new Geometry(mesh.vertexCount, mesh.positions.data(), texCoords, normals, nullptr, nullptr,
                               mesh.triangleCounts[i], mesh.triangleIndices[i].data(), kGhostMaterial);
    g->SetTransform(&position, &orientation);
    renderer.AddGeometry(g, &Geometry::Empty(), kStaticCubemapId, nullptr);
    scene.geometries.push_back(g);
    scene.triangleCounts.push_back(g->triangleCount);
  }
}

}  // namespace

void updateGhostScene(GhostScene& scene, Renderer& renderer, const PhCar* car, bool visible) {
  if (!scene.registered) {
    if (car == nullptr || scene.body == nullptr || scene.wheel == nullptr) return;
    // The geometry keeps pointers to the car's drawn pose from here on.
    addMesh(scene, *scene.body, car->drawn.position, car->drawn.orientation, renderer);
    for (const CarWheel& w : car->wheels) addMesh(scene, *scene.wheel, w.drawn.hub, w.drawn.matrix, renderer);
    scene.registered = true;
  }
  for (size_t i = 0; i < scene.geometries.size(); ++i)
    scene.geometries[i]->triangleCount = visible ? scene.triangleCounts[i] : 0;
}

void freeGhostScene(GhostScene& scene) {
  for (Geometry* g : scene.geometries) delete g;
  scene.geometries.clear();
  scene.triangleCounts.clear();
  scene.registered = false;
}
