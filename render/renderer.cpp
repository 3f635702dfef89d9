#include "render/renderer.h"

#include "app/log.h"
#include "render/draw_order.h"
#include "render/mat_renderer.h"
#include "render/material.h"

#include <algorithm>
#include <cassert>
#include <cstring>

namespace {

// Cube-map face view rotations as rows of R, eye = R * (world - centre); face i
// goes to GL face +x, -x, +y, -y, +z, -z. Each is the usual face orientation
// turned by 180 degrees about y; the shaders that look these maps up work in
// that frame.
constexpr float kFaceRows[6][3][3] = {
    {{0, 0, 1}, {0, -1, 0}, {1, 0, 0}},
    {{0, 0, -1}, {0, -1, 0}, {-1, 0, 0}},
    {{-1, 0, 0}, {0, 0, -1}, {0, -1, 0}},
    {{-1, 0, 0}, {0, 0, 1}, {0, 1, 0}},
    {{-1, 0, 0}, {0, -1, 0}, {0, 0, 1}},
    {{1, 0, 0}, {0, -1, 0}, {0, 0, -1}},
};

// The normal view: the aspect is this fixed ratio, whatever the window's.
constexpr float kAspect = 1.33f;
constexpr float kNear = 0.2f;     // m
constexpr float kFar = 2000.0f;   // m
constexpr float kCubemapFov = 90.0f;  // degrees
// Cube maps are refreshed in this many frames, then only when asked every frame.
constexpr int kCubemapRefreshFrames = 3;
// Cube maps are rendered from this height above their centre.
constexpr double kCubemapLift = 0.5;  // m

const char* nameOf(const Geometry* g) { return g->materialName != nullptr ? g->materialName : ""; }

}  // namespace

Renderer::Renderer(GLProcLoader getProcAddress) : matRenderer_(new MatRenderer(getProcAddress)) {
  for (int face = 0; face < 6; ++face) {
    Mat4& r = faceRotations[face];
    r = identityMat4();
    for (int row = 0; row < 3; ++row) {
      for (int col = 0; col < 3; ++col) r.m[4 * col + row] = kFaceRows[face][row][col];
    }
  }
}

Renderer::~Renderer() {
  logLine("Renderer: %i triangles in scene, rendered %i triangles", trianglesInScene,
          matRenderer_->trianglesRendered);
  logLine("Renderer: Cleaning up");
  for (SceneEntry* entry : scene) delete entry->material;
  scene.clearAndFree();
  delete matRenderer_;
}

void Renderer::SetViewportSize(int width, int height) {
  viewportWidth = width;
  viewportHeight = height;
}

void Renderer::SetCamera(const Vec3* position, const Mat4* rotation, float newFovY) {
  cameraPosition = position;
  cameraRotation = rotation;
  fovY = newFovY;
}

Vec3& Renderer::ObserverPosition() { return matRenderer_->observer; }

Geometry* Renderer::AddGeometry(Geometry* geometry, Geometry* reflectionGeometry, int cubemapId,
                                const Vec3* cubemapCenter) {
  assert(cubemapId >= 0 && cubemapId < MatRenderer::kCubemapCount && "cube-map id out of range");
  const char* name = nameOf(geometry);
  SceneEntry* found = nullptr;
  for (SceneEntry* entry : scene) {
    if (entry->material->cubemapId == cubemapId && entry->material->name == name) {
      found = entry;
      break;
    }
  }
  if (found == nullptr) {
    found = new SceneEntry;
    found->material = new Material;
    found->material->cubemapId = cubemapId;
    found->material->cubemapCenter = cubemapCenter;
    found->material->Load(name, matRenderer_);
    scene.append(found);
  }
  found->mainList.append(geometry);
  found->reflectionList.append(reflectionGeometry);
  trianglesInScene += geometry->triangleCount;
  return geometry;
}

void Renderer::MarkFixed(Geometry* geometry) {
  fixedRanges_.push_back(std::make_unique<IndexRanges>(buildIndexRanges(*geometry)));
  geometry->ranges = fixedRanges_.back().get();
}

void Renderer::beginView(const Vec3& position, const Mat4& rotation, float viewFovY, float aspect) {
  viewVolume_ = ViewVolume::perspective(position, rotation, viewFovY, aspect, kNear, kFar);
  matRenderer_->cullVolume = rangeCulling ? &viewVolume_ : nullptr;
}

void Renderer::Render(int mode, Material* material) {
  if (mode == kCubemapView) {
    if (material != nullptr) renderCubemap(material);
  } else {
    renderNormalView();
  }
}

void Renderer::renderNormalView() {
  MatRenderer& r = *matRenderer_;
  logLine("Renderer: *** Rendering start");
  r.trianglesRendered = 0;
  r.trianglesSubmitted = 0;
#if STRAVO_GLSL
  if (frameCount < kCubemapRefreshFrames || alwaysUpdateCubemaps) {
    r.BeginCubemapUpdate();
    for (SceneEntry* entry : scene) {
      Material* m = entry->material;
      if (m->hasDynamicCubemap && !r.IsCubemapDone(m->cubemapId)) {
        logLine("Renderer: Generating dynamic cubemap for material \"%s\"", m->name.c_str());
        renderCubemap(m);
      }
    }
    if (alwaysUpdateCubemaps) {
      frameCount = 0;
    } else {
      ++frameCount;
    }
  }
#endif
  r.SetProjection(fovY, kAspect, kNear, kFar);
  static const Mat4 kNoRotation = identityMat4();
  static const Vec3 kOrigin(0.0, 0.0, 0.0);
  const Vec3& eye = cameraPosition != nullptr ? *cameraPosition : kOrigin;
  const Mat4& view = cameraRotation != nullptr ? *cameraRotation : kNoRotation;
  r.SetCamera(eye, view);
  beginView(eye, view, fovY, kAspect);
  drawScene(Material::kNormalPass, -1, "");
  logLine("Renderer: *** Rendering end");
  logLine("Renderer: Rendered %i tris", r.trianglesRendered);
  r.cullVolume = nullptr;
  r.ResetState();
}

void Renderer::renderCubemap(Material* material) {
  MatRenderer& r = *matRenderer_;
  logLine("Renderer: *** Rendering start (dynamic texture)");
  // A material filed without a centre has no place to be seen from.
  if (material->cubemapCenter == nullptr) {
    logLine("Renderer: No cubemap centre for material \"%s\"", material->name.c_str());
    logLine("Renderer: *** Rendering end (dynamic texture)");
    return;
  }
  r.SetCubemapViewport();
  r.SetProjection(kCubemapFov, 1.0f, kNear, kFar);
  for (int face = 0; face < 6; ++face) {
    Vec3 centre = *material->cubemapCenter + Vec3(0.0, kCubemapLift, 0.0);
    r.SetCamera(centre, faceRotations[face]);
    beginView(centre, faceRotations[face], kCubemapFov, 1.0f);
    // An object is never drawn into its own reflection.
    drawScene(Material::kCubemapPass, material->cubemapId, " (cubemap)");
    r.StoreCubeMapSide(material->cubemapId, face);
  }
  r.cullVolume = nullptr;
  r.SetViewport(viewportWidth, viewportHeight);
  logLine("Renderer: *** Rendering end (dynamic texture)");
  r.ResetState();
}

void Renderer::drawScene(int pass, int skipId, const char* cubemapSuffix) {
  // A logged frame is drawn in the order its log lists.
  bool reorder = cheaperOrder && !loggingOn();
  std::vector<std::pair<DrawClass, SceneEntry*>> pending;
  for (SceneEntry* entry : scene) {
    if (entry->material->cubemapId == skipId) continue;
    logLine("Renderer: Material \"%s\"%s", entry->material->name.c_str(), cubemapSuffix);
    const PtrList<Geometry>& list = pass == Material::kNormalPass ? entry->mainList : entry->reflectionList;
    DrawClass drawClass = reorder ? drawClassOf(*entry->material, list, pass == Material::kCubemapPass, &matRenderer_->observer)
                                  : DrawClass::kFixed;
    if (drawClass != DrawClass::kFixed) {
      pending.emplace_back(drawClass, entry);
      continue;
    }
    drawOrderFree(pending, pass);
    execute(*entry, pass);
  }
  drawOrderFree(pending, pass);
}

void Renderer::drawOrderFree(std::vector<std::pair<DrawClass, SceneEntry*>>& pending, int pass) {
  // Opaque, then alpha-tested, then the background; scene order within each.
  std::stable_sort(pending.begin(), pending.end(),
                   [](const auto& a, const auto& b) { return int(a.first) < int(b.first); });
  matRenderer_->nearToFar = true;
  for (auto& [drawClass, entry] : pending) execute(*entry, pass);
  matRenderer_->nearToFar = false;
  pending.clear();
}

void Renderer::execute(SceneEntry& entry, int pass) {
  entry.material->Execute(entry.mainList, entry.reflectionList, pass);
  if (materialDrawn) materialDrawn(*entry.material, pass);
}
