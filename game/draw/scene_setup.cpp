#include "game/draw/scene_setup.h"

#include "app/log.h"
#include "game/prop_file.h"
#include "render/renderer.h"
#include "render/rmd_mesh.h"
#include "vehicle/car.h"

namespace {

// An instance draws at most this many materials of its mesh.
constexpr int kMaxInstanceMaterials = 6;
constexpr int kCarCubemapId = 1;
constexpr int kStaticCubemapId = 0;

// Game-made geometry at the origin that never shows in reflections.
void addUnreflected(Geometry* geometry, Renderer& renderer, SceneInstances& instances) {
  geometry->SetTransform(&instances.zero, &instances.identity);
  renderer.AddGeometry(geometry, &Geometry::Empty(), kStaticCubemapId, nullptr);
  instances.geometries.push_back(geometry);
}

}  // namespace

void registerMeshInstance(RMDMesh& mesh, Renderer& renderer, Vec3& position, Mat4& orientation,
                          int cubemapId, SceneInstances& instances) {
  if (mesh.materialCount > kMaxInstanceMaterials) mesh.materialCount = kMaxInstanceMaterials;
  for (int i = 0; i < mesh.materialCount; ++i) {
    Geometry* geometry = new Geometry(mesh, mesh.materialNames[i].c_str());
    geometry->SetTransform(&position, &orientation);
    renderer.AddGeometry(geometry, geometry, cubemapId, &position);
    instances.geometries.push_back(geometry);
  }
}

void registerFixedMeshInstance(RMDMesh& mesh, Renderer& renderer, Vec3& position, Mat4& orientation,
                               int cubemapId, SceneInstances& instances) {
  size_t first = instances.geometries.size();
  registerMeshInstance(mesh, renderer, position, orientation, cubemapId, instances);
  for (size_t i = first; i < instances.geometries.size(); ++i) renderer.MarkFixed(instances.geometries[i]);
}

bool loadProps(const char* fileName, RMDMesh& tree, Renderer& renderer, GameState& state, PropTable& props,
               SceneInstances& instances) {
  PropFile file;
  if (!readPropFile(fileName, file)) return false;
  state.startPosition = file.startPosition;
  state.startHeading = file.startHeading;

  // Sized once: the renderer keeps references into both arrays.
  int count = int(file.props.size());
  logLine("Main: Loading %i props from \"%s\"", count, fileName);
  props.positions.assign(file.props.size(), Vec3(0.0, 0.0, 0.0));
  props.orientations.assign(file.props.size(), identityMat4());
  props.count = count;
  for (int i = 0; i < count; ++i) {
    props.positions[i] = file.props[i].position;
    props.orientations[i] = yawPitchMat4(file.props[i].heading, 0.0f);
    registerFixedMeshInstance(tree, renderer, props.positions[i], props.orientations[i], kStaticCubemapId,
                              instances);
  }
  return true;
}

void registerCarInstances(PhCar& car, RMDMesh& body, RMDMesh& wheel, Renderer& renderer,
                          SceneInstances& instances) {
  registerMeshInstance(body, renderer, car.drawn.position, car.drawn.orientation, kCarCubemapId, instances);
  for (CarWheel& w : car.wheels)
    registerMeshInstance(wheel, renderer, w.drawn.hub, w.drawn.matrix, kCarCubemapId, instances);
}

void registerStartCones(GameState& state, RMDMesh& cone, Renderer& renderer, SceneInstances& instances) {
  registerFixedMeshInstance(cone, renderer, state.startLineA, instances.identity, kStaticCubemapId, instances);
  registerFixedMeshInstance(cone, renderer, state.startLineB, instances.identity, kStaticCubemapId, instances);
}

void createSkidMarkGeometry(GameState& state, Renderer& renderer, SceneInstances& instances) {
  for (SkidTrail& trail : state.skids.trails) {
    initSkidTrail(trail);
    // The intensity goes in as a forced colour, so it applies whatever the
    // material binds.
    addUnreflected(new Geometry(kSkidVertices, trail.positions, trail.texCoords, nullptr, trail.colors, nullptr,
                                kSkidTriangles, trail.triangles, "skidmark"),
                   renderer, instances);
  }
  state.skids.skidTickCounter = 0;
}

void createShadowGeometry(GameState& state, Renderer& renderer, SceneInstances& instances) {
  initCarShadow(state.shadow);
  addUnreflected(new Geometry(kShadowVertices, state.shadow.positions, state.shadow.texCoords, nullptr,
                              state.shadow.colors, nullptr, 2, state.shadow.triangles, "carshadow"),
                 renderer, instances);
}

void freeSceneInstances(SceneInstances& instances) {
  for (Geometry* geometry : instances.geometries) delete geometry;
  instances.geometries.clear();
}

void freeProps(PropTable& props) {
  props.positions.clear();
  props.positions.shrink_to_fit();
  props.orientations.clear();
  props.orientations.shrink_to_fit();
  props.count = 0;
}
