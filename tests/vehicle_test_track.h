#pragma once

#include "app/input_device.h"
#include "collision_mesh.h"
#include "physics/quadtree.h"
#include "physics/world.h"
#include "vehicle/car.h"

#include <memory>

// A car on a small track built in code, with an input device whose keys the test
// sets directly.
struct TestTrack {
  TriangleSoup mesh;
  CollisionQuadtree* tree = nullptr;
  PhWorld world;
  InputDevice input{nullptr};
  std::unique_ptr<PhCar> car;

  ~TestTrack() { destroyQuadtree(tree); }

  // An upward-facing square from (x0, z0) to (x1, z1) at height y, two triangles.
  void addSquare(int group, double x0, double z0, double x1, double z1, double y) {
    addTriangle(group, Vec3(x0, y, z0), Vec3(x0, y, z1), Vec3(x1, y, z0));
    addTriangle(group, Vec3(x1, y, z1), Vec3(x1, y, z0), Vec3(x0, y, z1));
  }

  void addTriangle(int group, const Vec3& a, const Vec3& b, const Vec3& c) { mesh.add(group, a, b, c); }

  // Builds the tree and a car at `position` facing -z, at rest, as a restart leaves it.
  void build(const Vec3& position) {
    tree = mesh.build();
    world.attachTree(tree);
    car = std::make_unique<PhCar>();
    car->world = &world;
    car->input = &input;
    place(position);
    world.addBody(car.get());
  }

  void place(const Vec3& position) {
    car->current.position = position;
    car->current.velocity = Vec3(0.0, 0.0, 0.0);
    car->current.orientation = identityMat4();
    car->current.angularStep = identityMat4();
    car->SavePrevious();
    car->reset();
  }

  void press(int code, bool down) {
    if (code < 256) {
      input.keys[code] = down ? 0x80 : 0;
    } else {
      input.joystickKeys[code - 256] = down ? 1 : 0;
    }
  }

  void run(int ticks) {
    for (int i = 0; i < ticks; ++i) world.step();
  }
};

// Flat asphalt 400 m square with the car dropped from 0.7 m at the origin, as a restart places it.
inline void buildFlatTrack(TestTrack& track, int group = 0) {
  track.addSquare(group, -200.0, -200.0, 200.0, 200.0, 0.0);
  track.build(Vec3(0.0, 0.7, 0.0));
}
