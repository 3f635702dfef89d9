// Renders the data set's scene at 800 x 600 from the start position, 300 frames
// a run: once with the cube maps refreshed only in the first frames, once with
// them refreshed every frame. Reports the median frame time and the triangle
// counts. The data set is read from the folder in STRAVO_DATA_DIR (default
// "run"), which holds data\...; write one with stravo-datagen DIR.
// STRAVO_BENCH_FRAMES changes the number of frames.
#include "app/log.h"
#include "game/prop_file.h"
#include "physics/mat4.h"
#include "render/geometry.h"
#include "render/mat_renderer.h"
#include "render/renderer.h"
#include "render/rmd_mesh.h"

#include <SDL.h>
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
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

// The scene of the game at its start: every model instance, placed the way
// start-up places it, and a chase camera behind the car.
class Scene {
 public:
  bool open(std::string& why) {
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
    place(props);
    return true;
  }

  ~Scene() {
    renderer_.reset();
    for (Geometry* g : geometries_) delete g;
    if (context_ != nullptr) SDL_GL_DeleteContext(context_);
    if (window_ != nullptr) SDL_DestroyWindow(window_);
    SDL_Quit();
  }

  // One frame as the main loop draws it; returns its seconds.
  double frame() {
    auto start = std::chrono::steady_clock::now();
    renderer_->Render(Renderer::kNormalView, nullptr);
    SDL_GL_SwapWindow(window_);
    glFinish();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }

  Renderer& renderer() { return *renderer_; }

 private:
  void add(RMDMesh& mesh, Vec3& position, Mat4& orientation, int cubemapId) {
    if (mesh.materialCount > kMaxInstanceMaterials) mesh.materialCount = kMaxInstanceMaterials;
    for (int i = 0; i < mesh.materialCount; ++i) {
      Geometry* g = new Geometry(mesh, mesh.materialNames[i].c_str());
      g->SetTransform(&position, &orientation);
      renderer_->AddGeometry(g, g, cubemapId, &position);
      geometries_.push_back(g);
    }
  }

  void place(const PropFile& props) {
    carPosition_ = restartPosition(props.startPosition, props.startHeading);
    carOrientation_ = yawPitchMat4(props.startHeading, 0.0f);
    add(meshes_[0], carPosition_, carOrientation_, kCarCubemapId);
    for (int i = 0; i < 4; ++i) {
      wheelPositions_[i] = localToWorld(carOrientation_, kWheelOffsets[i], carPosition_);
      add(meshes_[1], wheelPositions_[i], carOrientation_, kCarCubemapId);
    }
    add(meshes_[4], origin_, identity_, 0);
    add(meshes_[5], renderer_->ObserverPosition(), identity_, 0);
    treePositions_.reserve(props.props.size());
    treeOrientations_.reserve(props.props.size());
    for (const PropRecord& tree : props.props) {
      treePositions_.push_back(tree.position);
      treeOrientations_.push_back(yawPitchMat4(tree.heading, 0.0f));
      add(meshes_[3], treePositions_.back(), treeOrientations_.back(), 0);
    }
    for (int side = 0; side < 2; ++side) {
      double a = double((props.startHeading + (side == 0 ? 90.0f : -90.0f)) * 0.017453292f);
      cones_[side] = props.startPosition + Vec3(std::sin(a), 0.0, std::cos(a)) * kStartLineHalfWidth;
      add(meshes_[2], cones_[side], identity_, 0);
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
};

void renderScene(benchmark::State& state, bool cubemapsEveryFrame) {
  Scene scene;
  std::string why;
  if (!scene.open(why)) {
    state.SkipWithError(why.c_str());
    for (auto _ : state) {
    }
    return;
  }
  // Past the three start-up refreshes, unless they are asked for every frame.
  for (int i = 0; i < 3; ++i) scene.frame();
  setLogging(false);
  scene.renderer().alwaysUpdateCubemaps = cubemapsEveryFrame;
  std::vector<double> times;
  for (auto _ : state) {
    double seconds = scene.frame();
    state.SetIterationTime(seconds);
    times.push_back(seconds);
  }
  std::sort(times.begin(), times.end());
  state.counters["median_ms"] = times.empty() ? 0.0 : times[times.size() / 2] * 1000.0;
  state.counters["tris_in_scene"] = scene.renderer().trianglesInScene;
  state.counters["tris_per_frame"] = scene.renderer().matRenderer().trianglesRendered;
}

int framesToRun() {
  const char* asked = std::getenv("STRAVO_BENCH_FRAMES");
  int frames = asked != nullptr ? std::atoi(asked) : 0;
  return frames > 0 ? frames : kFrames;
}

// Read before the benchmarks below are registered (same file, earlier definition).
const int kFramesToRun = framesToRun();

void BM_SceneCubemapsAtStart(benchmark::State& state) { renderScene(state, false); }
void BM_SceneCubemapsEveryFrame(benchmark::State& state) { renderScene(state, true); }

}  // namespace

BENCHMARK(BM_SceneCubemapsAtStart)->Iterations(kFramesToRun)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SceneCubemapsEveryFrame)->Iterations(kFramesToRun)->UseManualTime()->Unit(benchmark::kMillisecond);
