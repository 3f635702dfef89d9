// The generated car drawn by the renderer in the scene at the start, seen
// from the side, the front three-quarters and the rear three-quarters: the
// paint reads as blue, the side windows darker than the doors, the lamps
// bright, the tail lights red. With STRAVO_CAR_SHOTS=DIR each view is also
// saved as DIR/car_<view>.ppm to be looked at.
#include "app/log.h"
#include "game/prop_file.h"
#include "physics/mat4.h"
#include "render/geometry.h"
#include "render/renderer.h"
#include "render/rmd_mesh.h"
#include "generated_data_set.h"
#include "render_gl_support.h"

#include <SDL.h>
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

using render_test::Rgb;

constexpr int kWidth = 480;
constexpr int kHeight = 360;
constexpr float kFovY = 30.0f;  // degrees
constexpr int kCarCubemapId = 1;
// Wheel centres in the car's frame at rest (forward is -z).
const Vec3 kHubs[4] = {{-0.75, -0.126, 1.17}, {0.75, -0.126, 1.17}, {-0.75, -0.126, -1.17}, {0.75, -0.126, -1.17}};

// Points on the left headlamp and tail lamp, in the car's frame.
const Vec3 kHeadlamp(-0.62, 0.26, -2.0);
const Vec3 kTailLamp(-0.66, 0.36, 2.0);


class CarLook : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string why;
    ASSERT_TRUE(dataSet_.enter(why)) << why;
    openLog();
    window_ = std::make_unique<render_test::GLWindow>(kWidth, kHeight);
    ASSERT_TRUE(window_->ok());
    renderer_ = std::make_unique<Renderer>(&render_test::GLWindow::procAddress);
    renderer_->SetViewportSize(kWidth, kHeight);
    fill();
  }
  void TearDown() override {
    renderer_.reset();
    geometries_.clear();
    window_.reset();
    dataSet_.leave();
  }

  void add(RMDMesh& mesh, Vec3& position, Mat4& orientation, int cubemapId, Vec3* centre) {
    for (int m = 0; m < mesh.materialCount; ++m) {
      auto g = std::make_unique<Geometry>(mesh, mesh.materialNames[m].c_str());
      g->SetTransform(&position, &orientation);
      renderer_->AddGeometry(g.get(), g.get(), cubemapId, centre);
      geometries_.push_back(std::move(g));
    }
  }

  // The car at the start with its wheels, the track and the sky.
  void fill() {
    const char* paths[4] = {"data\\models\\evo.rmd", "data\\models\\hwheel.rmd", "data\\models\\track1.rmd",
                            "data\\models\\skydome.rmd"};
    for (int i = 0; i < 4; ++i) ASSERT_TRUE(meshes_[i].Load(paths[i])) << paths[i];
    PropFile props;
    ASSERT_TRUE(readPropFile("data\\trees.prp", props));
    car_ = restartPosition(props.startPosition, props.startHeading);
    turn_ = yawPitchMat4(props.startHeading, 0.0f);
    add(meshes_[0], car_, turn_, kCarCubemapId, &car_);
    for (int w = 0; w < 4; ++w) {
      hubs_[w] = localToWorld(turn_, kHubs[w], car_);
      add(meshes_[1], hubs_[w], turn_, kCarCubemapId, &car_);
    }
    add(meshes_[2], origin_, identity_, 0, nullptr);
    add(meshes_[3], renderer_->ObserverPosition(), identity_, 0, nullptr);
  }

  // Draws the scene from a point given in the car's frame, looking at another.
  void view(const Vec3& eyeInCar, const Vec3& targetInCar, const char* name) {
    eye_ = localToWorld(turn_, eyeInCar, car_);
    Vec3 f = normalized(localToWorld(turn_, targetInCar, car_) - eye_);
    Vec3 r = normalized(cross(f, Vec3(0, 1, 0)));
    Vec3 u = cross(r, f);
    const Vec3 rows[3] = {r, u, -f};
    viewMatrix_ = identityMat4();
    for (int row = 0; row < 3; ++row) {
      viewMatrix_.m[row] = float(rows[row].x);
      viewMatrix_.m[4 + row] = float(rows[row].y);
      viewMatrix_.m[8 + row] = float(rows[row].z);
    }
    renderer_->SetCamera(&eye_, &viewMatrix_, kFovY);
    renderer_->Render(Renderer::kNormalView, nullptr);
    glFinish();
    pixels_.assign(size_t(kWidth * kHeight * 3), 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE, pixels_.data());
    save(name);
  }

  // The pixel where a point of the car's frame lands in the last view.
  Rgb at(const Vec3& pointInCar) const {
    Vec3 p = localToWorld(turn_, pointInCar, car_) - eye_;
    // Camera axes are the rows of the view matrix.
    double x = viewMatrix_.m[0] * p.x + viewMatrix_.m[4] * p.y + viewMatrix_.m[8] * p.z;
    double y = viewMatrix_.m[1] * p.x + viewMatrix_.m[5] * p.y + viewMatrix_.m[9] * p.z;
    double z = -(viewMatrix_.m[2] * p.x + viewMatrix_.m[6] * p.y + viewMatrix_.m[10] * p.z);
    double f = 1.0 / std::tan(kFovY * 0.5 * 3.14159265358979 / 180.0);
    int px = int(kWidth * 0.5 * (1.0 + f * x / z * kHeight / kWidth));
    int py = int(kHeight * 0.5 * (1.0 + f * y / z));
    px = std::clamp(px, 0, kWidth - 1);
    py = std::clamp(py, 0, kHeight - 1);
    const unsigned char* c = &pixels_[size_t((py * kWidth + px) * 3)];
    return {c[0], c[1], c[2]};
  }

  void save(const char* name) const {
    const char* dir = std::getenv("STRAVO_CAR_SHOTS");
    if (dir == nullptr) return;
    std::string path = dataSet_.previous + "/" + dir + "/car_" + name + (STRAVO_GLSL ? "" : "_noglsl") + ".ppm";
    if (dir[0] == '/') path = std::string(dir) + "/car_" + name + (STRAVO_GLSL ? "" : "_noglsl") + ".ppm";
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return;
    std::fprintf(f, "P6\n%d %d\n255\n", kWidth, kHeight);
    for (int y = kHeight - 1; y >= 0; --y) std::fwrite(&pixels_[size_t(y * kWidth * 3)], 1, size_t(kWidth * 3), f);
    std::fclose(f);
  }

  GeneratedDataSet dataSet_;
  std::unique_ptr<render_test::GLWindow> window_;
  std::unique_ptr<Renderer> renderer_;
  RMDMesh meshes_[4];
  std::vector<std::unique_ptr<Geometry>> geometries_;
  Vec3 car_{0, 0, 0}, origin_{0, 0, 0}, eye_{0, 0, 0}, hubs_[4];
  Mat4 turn_ = identityMat4(), identity_ = identityMat4(), viewMatrix_ = identityMat4();
  std::vector<unsigned char> pixels_;
};

bool bluish(const Rgb& c) { return c[2] > c[0] + 25 && c[2] > c[1] + 10; }
int brightness(const Rgb& c) { return c[0] + c[1] + c[2]; }

}  // namespace

TEST_F(CarLook, SideShowsBluePaintDarkWindowsAndWheels) {
  view(Vec3(-9.0, 0.4, 0.0), Vec3(0.0, 0.1, 0.0), "side");
  Rgb door = at(Vec3(-0.9, 0.05, -0.2));
  Rgb window = at(Vec3(-0.72, 0.75, -0.2));
  EXPECT_TRUE(bluish(door)) << door[0] << " " << door[1] << " " << door[2];
  EXPECT_LT(brightness(window), brightness(door)) << "window " << window[0] << " " << window[1] << " " << window[2];
  // The tyre's sidewall is dark rubber.
  Rgb tyre = at(Vec3(-0.86, -0.126 - 0.24, 1.17));
  EXPECT_LT(brightness(tyre), 200) << tyre[0] << " " << tyre[1] << " " << tyre[2];
  // Close by: a gold spoke straight up from the hub, and between two spokes
  // the grey brake disc, not the dark inside of the arch or the road.
  view(Vec3(-2.2, -0.05, -1.17), Vec3(-0.75, -0.126, -1.17), "wheel");
  const Vec3 hub(-0.85, -0.116, -1.17);
  Rgb spoke = at(hub + Vec3(0.0, 0.1, 0.0));
  Rgb disc = at(hub + Vec3(0.0, 0.13 * std::cos(0.2 * 3.14159265), 0.13 * std::sin(0.2 * 3.14159265)));
  EXPECT_GT(spoke[0], spoke[2] + 60) << spoke[0] << " " << spoke[1] << " " << spoke[2];
  EXPECT_GT(brightness(disc), 240) << disc[0] << " " << disc[1] << " " << disc[2];
  EXPECT_LT(std::abs(disc[0] - disc[2]), 40) << disc[0] << " " << disc[1] << " " << disc[2];
}

TEST_F(CarLook, LampsAndRearWindowReadFromTheFrontAndBehind) {
  view(Vec3(-3.5, 0.6, -7.5), Vec3(0.0, 0.0, 0.0), "front");
  Rgb lamp = at(kHeadlamp), wing = at(Vec3(-0.85, 0.1, -1.7));
  EXPECT_GT(brightness(lamp), 600) << lamp[0] << " " << lamp[1] << " " << lamp[2];
  EXPECT_TRUE(bluish(wing)) << wing[0] << " " << wing[1] << " " << wing[2];
  view(Vec3(-3.5, 0.9, 7.5), Vec3(0.0, 0.0, 0.0), "rear");
  Rgb tail = at(kTailLamp);
  EXPECT_GT(tail[0], 2 * std::max(tail[1], tail[2])) << tail[0] << " " << tail[1] << " " << tail[2];
  view(Vec3(0.0, 1.5, 5.5), Vec3(0.0, 0.2, 0.0), "chase");
  // The rear window under the sky: darker than the boot lid below it.
  Rgb rearWindow = at(Vec3(0.0, 0.8, 1.1)), boot = at(Vec3(0.0, 0.56, 1.75));
  EXPECT_LT(brightness(rearWindow), brightness(boot));
}
