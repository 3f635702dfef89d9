// Renders the data set's scene at 800 x 600 from the start position, 300 frames
// a run: once with the cube maps refreshed only in the first frames, once with
// them refreshed every frame, and then as the game draws it by default (4x
// multisampling, objects added in start-up's order) both ways. Reports the
// median frame time and the triangle counts. The data set is read from the
// folder in STRAVO_DATA_DIR (default "run"), which holds data\...; write one
// with stravo-datagen DIR. STRAVO_BENCH_FRAMES changes the number of frames;
// STRAVO_BENCH_PNG=DIR saves each case's last frame as DIR/<case>.png;
// STRAVO_BENCH_NOCULL=1 submits every triangle of fixed geometry too;
// STRAVO_BENCH_SCENE_ORDER=1 draws every material in scene order.
// STRAVO_BENCH_MATERIALS=1 prints each case's milliseconds a frame per material
// (glFinish after each one, so the rasteriser cannot overlap them), and
// STRAVO_BENCH_OVERDRAW=1 draws every case without multisampling and prints
// how many fragments each pixel received on average (counted in the stencil
// buffer): all rasterised, and those that passed the depth test.
#include "app/log.h"
#include "game/game_state.h"
#include "game/prop_file.h"
#include "game/draw/scene_setup.h"
#include "physics/mat4.h"
#include "render/geometry.h"
#include "render/mat_renderer.h"
#include "render/material.h"
#include "render/renderer.h"
#include "render/rmd_mesh.h"

#include <SDL.h>
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include "png_file.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kFrames = 300;  // frames a run; STRAVO_BENCH_FRAMES asks for fewer or more
constexpr float kFovY = 45.0f;            // degrees
constexpr int kMaxInstanceMaterials = 6;  // an instance draws at most this many of its mesh's materials
constexpr int kCarCubemapId = 1;
// Where the wheels sit on the car, and where the chase camera stands behind it.
const Vec3 kWheelOffsets[4] = {{0.75, 0.33, -1.3}, {-0.75, 0.33, -1.3}, {0.75, 0.33, 1.2}, {-0.75, 0.33, 1.2}};
constexpr double kChaseDistance = 4.0;  // m
constexpr double kChaseHeight = 1.5;    // m
constexpr double kStartLineHalfWidth = 7.0;  // m
constexpr int kGameSamples = 4;  // the default config's fsaa

// How a case draws: the window's multisample samples (0: none) and whether
// objects are added in start-up's order (sky dome, trees, cones, car and
// wheels, track, skid marks and shadow) or the bench's own (car and wheels,
// track, sky dome, trees, cones).
struct SceneSetup {
  int samples = 0;
  bool gameOrder = false;
};

// The scene of the game at its start: every model instance, placed the way
// start-up places it, and a chase camera behind the car.
class Scene {
 public:
  bool open(const SceneSetup& setup, std::string& why) {
    const char* dir = std::getenv("STRAVO_DATA_DIR");
    if (chdir(dir != nullptr ? dir : "run") != 0) {
      why = "no data folder (set STRAVO_DATA_DIR to a folder written by stravo-datagen)";
      return false;
    }
    // Start-up and the first frames are logged to log.txt there, as the game does.
    openLog();
    SDL_Init(SDL_INIT_VIDEO);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    if (overdraw()) SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    if (setup.samples > 0 && !overdraw()) {
      // The game's multisample format.
      for (SDL_GLattr channel : {SDL_GL_RED_SIZE, SDL_GL_GREEN_SIZE, SDL_GL_BLUE_SIZE, SDL_GL_ALPHA_SIZE})
        SDL_GL_SetAttribute(channel, 8);
      SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, 1);
      SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, setup.samples);
    }
    window_ = SDL_CreateWindow("render bench", 0, 0, kWidth, kHeight, SDL_WINDOW_OPENGL);
    if (window_ == nullptr || (context_ = SDL_GL_CreateContext(window_)) == nullptr) {
      why = "no GL window";
      return false;
    }
    SDL_GL_SetSwapInterval(0);
    const char* paths[6] = {"data\\models\\evo.rmd",   "data\\models\\hwheel.rmd", "data\\models\\cone.rmd",
                            "data\\models\\tree1.rmd", "data\\models\\track1.rmd", "data\\models\\skydome.rmd"};
    for (int i = 0; i < 6; ++i) {
      if (!meshes_[i].Load(paths[i])) {
        why = std::string("cannot load ") + paths[i];
        return false;
      }
    }
    PropFile props;
    if (!readPropFile("data\\trees.prp", props)) {
      why = "cannot read data\\trees.prp";
      return false;
    }
    renderer_ = std::make_unique<Renderer>(&SDL_GL_GetProcAddress);
    renderer_->SetViewportSize(kWidth, kHeight);
    place(props, setup.gameOrder);
    // The same pictures and counts with every triangle submitted.
    renderer_->rangeCulling = std::getenv("STRAVO_BENCH_NOCULL") == nullptr;
    renderer_->cheaperOrder = std::getenv("STRAVO_BENCH_SCENE_ORDER") == nullptr;
    return true;
  }

  static bool overdraw() { return std::getenv("STRAVO_BENCH_OVERDRAW") != nullptr; }

  // From now on each frame's time is split per material (glFinish after each).
  void timeMaterials() {
    renderer_->materialDrawn = [this](const Material& material, int pass) {
      glFinish();
      auto now = std::chrono::steady_clock::now();
      std::string name = material.name + (pass == Material::kCubemapPass ? " (cube-map faces)" : "");
      materialMs_[name] += std::chrono::duration<double, std::milli>(now - mark_).count();
      mark_ = now;
    };
  }

  // The split of `frames` frames, in milliseconds a frame, heaviest first.
  void printMaterialTimes(const char* name, int frames) const {
    std::vector<std::pair<double, std::string>> rows;
    for (const auto& [material, ms] : materialMs_) rows.emplace_back(ms / frames, material);
    std::sort(rows.rbegin(), rows.rend());
    std::printf("%s: ms a frame per material\n", name);
    for (const auto& [ms, material] : rows) std::printf("  %-34s %7.2f\n", material.c_str(), ms);
  }

  // Fragments a pixel received in one frame, on average: every rasterised one
  // (`depthPassedOnly` false) or those that passed the depth test.
  double fragmentsPerPixel(bool depthPassedOnly) {
    glClearStencil(0);
    glClear(GL_STENCIL_BUFFER_BIT);
    glEnable(GL_STENCIL_TEST);
    glStencilFunc(GL_ALWAYS, 0, 0xff);
    glStencilOp(GL_KEEP, depthPassedOnly ? GL_KEEP : GL_INCR, GL_INCR);
    // Each material's share, read off the stencil counts after it is drawn.
    struct Share {
      std::string material;
      long long triangles;
      double perPixel;
    };
    std::vector<Share> shares;
    double counted = 0.0;
    long long submitted = 0;  // the renderer starts each frame's count at zero
    renderer_->materialDrawn = [&](const Material& material, int) {
      double now = stencilPerPixel();
      long long triangles = renderer_->matRenderer().trianglesSubmitted;
      shares.push_back({material.name, triangles - submitted, now - counted});
      counted = now;
      submitted = triangles;
    };
    renderer_->Render(Renderer::kNormalView, nullptr);
    renderer_->materialDrawn = nullptr;
    double perPixel = stencilPerPixel();
    glDisable(GL_STENCIL_TEST);
    SDL_GL_SwapWindow(window_);
    std::printf("  %-22s %9s %11s\n", "material", "triangles", depthPassedOnly ? "passed" : "rasterised");
    for (const Share& share : shares)
      std::printf("  %-22s %9lld %11.3f\n", share.material.c_str(), share.triangles, share.perPixel);
    return perPixel;
  }

  static double stencilPerPixel() {
    std::vector<uint8_t> counts(size_t(kWidth) * kHeight);
    glReadPixels(0, 0, kWidth, kHeight, GL_STENCIL_INDEX, GL_UNSIGNED_BYTE, counts.data());
    double sum = 0.0;
    for (uint8_t c : counts) sum += c;
    return sum / double(counts.size());
  }

  ~Scene() {
    renderer_.reset();
    for (Geometry* g : geometries_) delete g;
    freeSceneInstances(instances_);
    if (context_ != nullptr) SDL_GL_DeleteContext(context_);
    if (window_ != nullptr) SDL_DestroyWindow(window_);
    SDL_Quit();
  }

  // One frame as the main loop draws it; returns its seconds. With `keep` the
  // finished picture is read back before the swap (outside the timing).
  double frame(bool keep = false) {
    auto start = std::chrono::steady_clock::now();
    if (renderer_->materialDrawn) {
      glFinish();
      mark_ = std::chrono::steady_clock::now();
    }
    renderer_->Render(Renderer::kNormalView, nullptr);
    if (keep) {
      glFinish();
      double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      kept_ = png_file::readFrame(kWidth, kHeight);
      auto swapStart = std::chrono::steady_clock::now();
      SDL_GL_SwapWindow(window_);
      glFinish();
      return seconds + std::chrono::duration<double>(std::chrono::steady_clock::now() - swapStart).count();
    }
    SDL_GL_SwapWindow(window_);
    glFinish();
    if (renderer_->materialDrawn)
      materialMs_["(resolve and swap)"] +=
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - mark_).count();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }

  // The picture of the last frame drawn with `keep`.
  bool savePicture(const std::string& path) const { return png_file::writePng(path, kWidth, kHeight, kept_); }

  Renderer& renderer() { return *renderer_; }

 private:
  void add(RMDMesh& mesh, Vec3& position, Mat4& orientation, int cubemapId, bool fixed = false) {
    if (mesh.materialCount > kMaxInstanceMaterials) mesh.materialCount = kMaxInstanceMaterials;
    for (int i = 0; i < mesh.materialCount; ++i) {
      Geometry* g = new Geometry(mesh, mesh.materialNames[i].c_str());
      g->SetTransform(&position, &orientation);
      renderer_->AddGeometry(g, g, cubemapId, &position);
      if (fixed) renderer_->MarkFixed(g);
      geometries_.push_back(g);
    }
  }

  void addCar() {
    add(meshes_[0], carPosition_, carOrientation_, kCarCubemapId);
    for (int i = 0; i < 4; ++i) add(meshes_[1], wheelPositions_[i], carOrientation_, kCarCubemapId);
  }

  void addTrees() {
    for (size_t i = 0; i < treePositions_.size(); ++i) add(meshes_[3], treePositions_[i], treeOrientations_[i], 0, true);
  }

  void place(const PropFile& props, bool gameOrder) {
    carPosition_ = restartPosition(props.startPosition, props.startHeading);
    carOrientation_ = yawPitchMat4(props.startHeading, 0.0f);
    for (int i = 0; i < 4; ++i) wheelPositions_[i] = localToWorld(carOrientation_, kWheelOffsets[i], carPosition_);
    // Filled before anything is added: the renderer keeps references into both arrays.
    for (const PropRecord& tree : props.props) {
      treePositions_.push_back(tree.position);
      treeOrientations_.push_back(yawPitchMat4(tree.heading, 0.0f));
    }
    for (int side = 0; side < 2; ++side) {
      double a = double((props.startHeading + (side == 0 ? 90.0f : -90.0f)) * 0.017453292f);
      cones_[side] = props.startPosition + Vec3(std::sin(a), 0.0, std::cos(a)) * kStartLineHalfWidth;
    }
    if (gameOrder) {
      add(meshes_[5], renderer_->ObserverPosition(), identity_, 0);
      addTrees();
      for (Vec3& cone : cones_) add(meshes_[2], cone, identity_, 0, true);
      addCar();
      add(meshes_[4], origin_, identity_, 0, true);
      createSkidMarkGeometry(game_, *renderer_, instances_);
      createShadowGeometry(game_, *renderer_, instances_);
    } else {
      addCar();
      add(meshes_[4], origin_, identity_, 0, true);
      add(meshes_[5], renderer_->ObserverPosition(), identity_, 0);
      addTrees();
      for (Vec3& cone : cones_) add(meshes_[2], cone, identity_, 0, true);
    }
    // The chase camera: behind the car (its local +z), looking at it.
    Vec3 back = localToWorld(carOrientation_, Vec3(0, 0, 1), Vec3(0, 0, 0));
    eye_ = carPosition_ + back * kChaseDistance + Vec3(0, kChaseHeight, 0);
    Vec3 f = normalized(carPosition_ + Vec3(0, 0.5, 0) - eye_);
    Vec3 r = normalized(cross(f, Vec3(0, 1, 0)));
    Vec3 u = cross(r, f);
    view_ = identityMat4();
    const Vec3 rows[3] = {r, u, -f};
    for (int row = 0; row < 3; ++row) {
      view_.m[row] = float(rows[row].x);
      view_.m[4 + row] = float(rows[row].y);
      view_.m[8 + row] = float(rows[row].z);
    }
    renderer_->SetCamera(&eye_, &view_, kFovY);
  }

  SDL_Window* window_ = nullptr;
  SDL_GLContext context_ = nullptr;
  RMDMesh meshes_[6];
  std::unique_ptr<Renderer> renderer_;
  std::vector<Geometry*> geometries_;
  Vec3 carPosition_{0, 0, 0}, wheelPositions_[4], cones_[2], eye_{0, 0, 0}, origin_{0, 0, 0};
  Mat4 carOrientation_ = identityMat4(), identity_ = identityMat4(), view_ = identityMat4();
  std::vector<Vec3> treePositions_;
  std::vector<Mat4> treeOrientations_;
  GameState game_;             // the skid-mark and shadow arrays of the game's case
  SceneInstances instances_;   // their Geometry
  std::vector<uint8_t> kept_;  // the picture of the last kept frame
  std::map<std::string, double> materialMs_;  // summed per material (STRAVO_BENCH_MATERIALS)
  std::chrono::steady_clock::time_point mark_;
};

// Seconds of processor time every thread of the process has used, the
// rasteriser's threads included: steadier than the wall clock on a loaded machine.
double processCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

void renderScene(benchmark::State& state, const SceneSetup& setup, bool cubemapsEveryFrame, const char* name) {
  Scene scene;
  std::string why;
  if (!scene.open(setup, why)) {
    state.SkipWithError(why.c_str());
    for (auto _ : state) {
    }
    return;
  }
  // Past the three start-up refreshes, unless they are asked for every frame.
  for (int i = 0; i < 3; ++i) scene.frame();
  setLogging(false);
  scene.renderer().alwaysUpdateCubemaps = cubemapsEveryFrame;
  if (Scene::overdraw()) {
    double rasterised = scene.fragmentsPerPixel(false), passed = scene.fragmentsPerPixel(true);
    std::printf("%s: fragments a pixel, without multisampling: %.2f rasterised, %.2f passed the depth test\n", name,
                rasterised, passed);
    state.counters["rasterised_per_pixel"] = rasterised;
    state.counters["depth_passed_per_pixel"] = passed;
  }
  bool byMaterial = std::getenv("STRAVO_BENCH_MATERIALS") != nullptr;
  if (byMaterial) scene.timeMaterials();
  const char* pictureDir = std::getenv("STRAVO_BENCH_PNG");
  const size_t frames = size_t(state.max_iterations);
  std::vector<double> times;
  double cpuStart = processCpuSeconds();
  for (auto _ : state) {
    double seconds = scene.frame(pictureDir != nullptr && times.size() + 1 == frames);
    state.SetIterationTime(seconds);
    times.push_back(seconds);
  }
  if (pictureDir != nullptr && !scene.savePicture(std::string(pictureDir) + "/" + name + ".png")) {
    state.SkipWithError("cannot write the picture into STRAVO_BENCH_PNG");
  }
  if (byMaterial) scene.printMaterialTimes(name, int(times.size()));
  std::sort(times.begin(), times.end());
  state.counters["cpu_ms"] = times.empty() ? 0.0 : (processCpuSeconds() - cpuStart) * 1000.0 / double(times.size());
  state.counters["median_ms"] = times.empty() ? 0.0 : times[times.size() / 2] * 1000.0;
  state.counters["tris_in_scene"] = scene.renderer().trianglesInScene;
  state.counters["tris_per_frame"] = scene.renderer().matRenderer().trianglesRendered;
  state.counters["tris_submitted"] = scene.renderer().matRenderer().trianglesSubmitted;
}

int framesToRun() {
  const char* asked = std::getenv("STRAVO_BENCH_FRAMES");
  int frames = asked != nullptr ? std::atoi(asked) : 0;
  return frames > 0 ? frames : kFrames;
}

// Read before the benchmarks below are registered (same file, earlier definition).
const int kFramesToRun = framesToRun();

const SceneSetup kBenchScene{0, false};
const SceneSetup kGameScene{kGameSamples, true};

void BM_SceneCubemapsAtStart(benchmark::State& state) {
  renderScene(state, kBenchScene, false, "SceneCubemapsAtStart");
}
void BM_SceneCubemapsEveryFrame(benchmark::State& state) {
  renderScene(state, kBenchScene, true, "SceneCubemapsEveryFrame");
}
void BM_GameStartView(benchmark::State& state) { renderScene(state, kGameScene, false, "GameStartView"); }
void BM_GameCubemapsEveryFrame(benchmark::State& state) {
  renderScene(state, kGameScene, true, "GameCubemapsEveryFrame");
}

}  // namespace

BENCHMARK(BM_SceneCubemapsAtStart)->Iterations(kFramesToRun)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SceneCubemapsEveryFrame)->Iterations(kFramesToRun)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GameStartView)->Iterations(kFramesToRun)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GameCubemapsEveryFrame)->Iterations(kFramesToRun)->UseManualTime()->Unit(benchmark::kMillisecond);
