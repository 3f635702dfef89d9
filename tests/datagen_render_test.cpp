// The generated data set drawn by the renderer: every material script finds
// its pictures and shaders and compiles, and the start view shows sky above
// a grey road, quickly enough on software GL to be drawn at all.
#include "app/log.h"
#include "game/prop_file.h"
#include "physics/mat4.h"
#include "render/geometry.h"
#include "render/mat_renderer.h"
#include "render/renderer.h"
#include "render/rmd_mesh.h"
#include "render_gl_support.h"
#include "generated_data_set.h"
#include "png_file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

using namespace render_test;

namespace {

constexpr float kFovY = 45.0f;             // degrees
constexpr double kChaseDistance = 4.0;     // m behind the car
constexpr double kChaseHeight = 1.5;       // m above it
constexpr int kSkyOverGround = 20;         // how much bluer than red the sky is, at least
constexpr int kGreyTol = 30;               // spread of the road's channels
constexpr int kNotBlack = 40;              // darkest channel of a lit road
constexpr double kFrameBudget = 1.0;       // s, an update frame with its cube maps; minutes before the fix

class DataSetScene : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string why;
    ASSERT_TRUE(dataSet_.enter(why)) << why;
    openLog();
  }
  void TearDown() override {
    geometries_.clear();
    dataSet_.leave();
  }

  // Every model of the game once, the car at the start, and the two decal
  // materials, which start-up registers without triangles.
  void fill(Renderer& renderer) {
    const char* paths[6] = {"data\\models\\evo.rmd",   "data\\models\\hwheel.rmd", "data\\models\\cone.rmd",
                            "data\\models\\tree1.rmd", "data\\models\\track1.rmd", "data\\models\\skydome.rmd"};
    PropFile props;
    ASSERT_TRUE(readPropFile("data\\trees.prp", props));
    car_ = restartPosition(props.startPosition, props.startHeading);
    carTurn_ = yawPitchMat4(props.startHeading, 0.0f);
    tree_ = props.props.front().position;
    Vec3* places[6] = {&car_, &car_, &props.startPosition, &tree_, &origin_, &renderer.ObserverPosition()};
    for (int i = 0; i < 6; ++i) {
      ASSERT_TRUE(meshes_[i].Load(paths[i])) << paths[i];
      for (int m = 0; m < meshes_[i].materialCount; ++m) {
        auto g = std::make_unique<Geometry>(meshes_[i], meshes_[i].materialNames[m].c_str());
        g->SetTransform(places[i], i < 2 ? &carTurn_ : &identity_);
        renderer.AddGeometry(g.get(), g.get(), i < 2 ? 1 : 0, i < 2 ? &car_ : nullptr);
        // The cone, the tree and the track never move; the car and the sky dome do.
        if (i >= 2 && i <= 4) renderer.MarkFixed(g.get());
        geometries_.push_back(std::move(g));
      }
    }
    for (const char* decal : {"skidmark", "carshadow"}) {
      auto g = std::make_unique<Geometry>(0, nullptr, nullptr, nullptr, nullptr, nullptr, 0, nullptr, decal);
      renderer.AddGeometry(g.get(), g.get(), 0, nullptr);
      geometries_.push_back(std::move(g));
    }
    // The chase camera: behind the car (its local +z), looking at it.
    Vec3 back = localToWorld(carTurn_, Vec3(0, 0, 1), Vec3(0, 0, 0));
    eye_ = car_ + back * kChaseDistance + Vec3(0, kChaseHeight, 0);
    Vec3 f = normalized(car_ + Vec3(0, 0.5, 0) - eye_);
    Vec3 r = normalized(cross(f, Vec3(0, 1, 0)));
    Vec3 u = cross(r, f);
    const Vec3 rows[3] = {r, u, -f};
    for (int row = 0; row < 3; ++row) {
      view_.m[row] = float(rows[row].x);
      view_.m[4 + row] = float(rows[row].y);
      view_.m[8 + row] = float(rows[row].z);
    }
    renderer.SetViewportSize(kWindowWidth, kWindowHeight);
    renderer.SetCamera(&eye_, &view_, kFovY);
  }

  static std::vector<std::string> problemLines() {
    std::vector<std::string> problems;
    std::ifstream log("log.txt");
    for (std::string line; std::getline(log, line);) {
      if (line.find("rror") == std::string::npos) continue;
      // A build without shader programs loads none, and says so for each.
      if (!STRAVO_GLSL && (line.find("Shader") != std::string::npos || line.find("Uniform") != std::string::npos))
        continue;
      problems.push_back(line);
    }
    return problems;
  }

  GeneratedDataSet dataSet_;
  RMDMesh meshes_[6];
  std::vector<std::unique_ptr<Geometry>> geometries_;
  Vec3 car_{0, 0, 0}, tree_{0, 0, 0}, origin_{0, 0, 0}, eye_{0, 0, 0};
  Mat4 carTurn_ = identityMat4(), identity_ = identityMat4(), view_ = identityMat4();
};

TEST_F(DataSetScene, EveryMaterialCompilesAndTheStartViewShowsSkyOverRoad) {
  GLWindow window;
  ASSERT_TRUE(window.ok());
  {
    Renderer renderer(&GLWindow::procAddress);
    fill(renderer);
    auto start = std::chrono::steady_clock::now();
    renderer.Render(Renderer::kNormalView, nullptr);
    glFinish();
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, kFrameBudget);

    Rgb sky = pixelAt(kWindowWidth / 2, kWindowHeight - 2);
    EXPECT_GT(sky[2] - sky[0], kSkyOverGround) << sky[0] << " " << sky[1] << " " << sky[2];
    // Left of the car, below the horizon: the road ahead of it.
    Rgb road = pixelAt(kWindowWidth / 10, kWindowHeight / 3);
    EXPECT_LT(std::abs(road[0] - road[1]), kGreyTol) << road[0] << " " << road[1] << " " << road[2];
    EXPECT_LT(std::abs(road[1] - road[2]), kGreyTol) << road[0] << " " << road[1] << " " << road[2];
    EXPECT_GT(std::min({road[0], road[1], road[2]}), kNotBlack);
  }
  // Log lines of the scripts, the textures and the shaders, up to shutdown.
  std::vector<std::string> problems = problemLines();
  EXPECT_TRUE(problems.empty()) << problems.front();
}

}  // namespace

// Leaving out the index ranges that no view can show changes no pixel of the
// frame or of the car's reflections, and no count.
TEST_F(DataSetScene, CulledAndUnculledFramesAreTheSamePixels) {
  GLWindow window;
  ASSERT_TRUE(window.ok());
  Renderer renderer(&GLWindow::procAddress);
  fill(renderer);
  renderer.alwaysUpdateCubemaps = true;
  auto frame = [&](bool culling, int& rendered, int& submitted) {
    renderer.rangeCulling = culling;
    renderer.Render(Renderer::kNormalView, nullptr);
    rendered = renderer.matRenderer().trianglesRendered;
    submitted = renderer.matRenderer().trianglesSubmitted;
    return png_file::readFrame(kWindowWidth, kWindowHeight);
  };
  int culledCount = 0, culledSubmitted = 0, wholeCount = 0, wholeSubmitted = 0;
  std::vector<uint8_t> culled = frame(true, culledCount, culledSubmitted);
  std::vector<uint8_t> whole = frame(false, wholeCount, wholeSubmitted);
  EXPECT_TRUE(culled == whole);
  EXPECT_EQ(culledCount, wholeCount);
  EXPECT_EQ(wholeSubmitted, wholeCount);
  // The car, its wheels and the sky dome are always drawn whole, so the share
  // left out stays well under the circuit's own.
  EXPECT_LT(culledSubmitted, wholeCount * 3 / 5) << "much of the circuit is outside the view and every face";
}

// Outside logged frames the order-free materials go in their cheaper order,
// near to far: no pixel of the frame or of the car's reflections changes.
TEST_F(DataSetScene, CheaperOrderDrawsTheSamePixelsAsSceneOrder) {
  GLWindow window;
  ASSERT_TRUE(window.ok());
  Renderer renderer(&GLWindow::procAddress);
  fill(renderer);
  renderer.alwaysUpdateCubemaps = true;
  bool logging = loggingOn();
  setLogging(false);
  auto frame = [&](bool cheaper) {
    renderer.cheaperOrder = cheaper;
    renderer.Render(Renderer::kNormalView, nullptr);
    return png_file::readFrame(kWindowWidth, kWindowHeight);
  };
  std::vector<uint8_t> sceneOrder = frame(false);
  std::vector<uint8_t> cheaper = frame(true);
  setLogging(logging);
  EXPECT_TRUE(sceneOrder == cheaper);
}
