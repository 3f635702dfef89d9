#pragma once

#include "physics/mat4.h"
#include "physics/ptr_list.h"
#include "physics/vec3.h"
#include "render/draw_order.h"
#include "render/geometry.h"
#include "render/gl_proc.h"
#include "render/range_culling.h"

#include <functional>
#include <memory>
#include <utility>
#include <vector>

class MatRenderer;
struct Material;

// One material of the scene with the geometry filed under it. The material's
// name and cube-map id are the entry's key.
struct SceneEntry {
  Material* material = nullptr;    // owned
  PtrList<Geometry> mainList;        // drawn in the normal view
  PtrList<Geometry> reflectionList;  // drawn while a dynamic cube map is rendered
};

// The scene and its drawing: geometry is filed by material, and a frame is
// drawn material by material in the order the materials first appeared. Needs
// a current GL context from construction to destruction.
class Renderer {
 public:
  // Render modes.
  static constexpr int kNormalView = 0;
  static constexpr int kCubemapView = 1;

  // `getProcAddress` fetches GL extension entry points by name (the app passes
  // SDL_GL_GetProcAddress).
  explicit Renderer(GLProcLoader getProcAddress);
  // Logs the triangle statistics, frees the scene and the MatRenderer.
  ~Renderer();
  Renderer(const Renderer&) = delete;
  Renderer& operator=(const Renderer&) = delete;

  // The window size in pixels; the normal view is restored to it after a cube map.
  void SetViewportSize(int width, int height);

  // Camera of the normal view, read at each Render; fovY in degrees.
  void SetCamera(const Vec3* position, const Mat4* rotation, float fovY);

  // The position of the camera of the view being drawn (cube-map faces
  // included); the sky dome is placed here so it always surrounds the camera.
  Vec3& ObserverPosition();

  // Files `geometry` (and `reflectionGeometry` for the cube-map pass; use
  // Geometry::Empty() to keep an object out of reflections) under the material
  // (geometry.materialName, cubemapId), compiling the material on its first
  // use. cubemapCenter is where that material's dynamic cube map is rendered
  // from, or null. Ids are 0..99. Returns `geometry`.
  Geometry* AddGeometry(Geometry* geometry, Geometry* reflectionGeometry, int cubemapId, const Vec3* cubemapCenter);

  // Declares `geometry` fixed: it never moves and its arrays never change, so
  // its index ranges that lie outside a view are not submitted (its triangles
  // are still counted). Moving geometry, and the sky dome, stay drawn whole.
  void MarkFixed(Geometry* geometry);

  // kNormalView (material null): refreshes the dynamic cube maps when due,
  // then draws the scene from the camera. kCubemapView: renders the six faces
  // of `material`'s dynamic cube map.
  void Render(int mode, Material* material);

  MatRenderer& matRenderer() { return *matRenderer_; }

  // Scene, in the order in which the keys first appeared.
  PtrList<SceneEntry> scene;
  // View rotation of each cube-map face, eye = R * (world - centre).
  Mat4 faceRotations[6];
  const Vec3* cameraPosition = nullptr;
  const Mat4* cameraRotation = nullptr;
  float fovY = 45.0f;  // degrees
  int viewportWidth = 800;
  int viewportHeight = 600;
  // Frames in which cube maps were refreshed, counted up to 3.
  int frameCount = 0;
  // Written by the game's menu: refresh the cube maps in every frame.
  bool alwaysUpdateCubemaps = false;
  // Triangles of all geometry added to main lists.
  int trianglesInScene = 0;
  // Whether ranges of fixed geometry outside the view are skipped; the
  // picture and the counts are the same either way.
  bool rangeCulling = true;
  // Whether order-free materials are drawn in their cheaper order outside
  // logged frames (draw_order.h); the picture is the same either way.
  bool cheaperOrder = true;
  // Told after each material's pass has been drawn (for profiling); empty for none.
  std::function<void(const Material& material, int pass)> materialDrawn;

 private:
  void renderNormalView();
  void renderCubemap(Material* material);
  // The scene's materials for one view, logged in scene order (`cubemapSuffix`
  // after each name in a cube-map face), leaving out those with `skipId` (-1:
  // none). Outside logged frames the order-free ones are drawn, before the
  // next material that keeps its place, in their cheaper order.
  void drawScene(int pass, int skipId, const char* cubemapSuffix);
  void execute(SceneEntry& entry, int pass);
  void drawOrderFree(std::vector<std::pair<DrawClass, SceneEntry*>>& pending, int pass);

  // The volume of a view for the MatRenderer, when culling is on.
  void beginView(const Vec3& position, const Mat4& rotation, float viewFovY, float aspect);

  MatRenderer* matRenderer_;
  std::vector<std::unique_ptr<IndexRanges>> fixedRanges_;
  ViewVolume viewVolume_;
};
