#pragma once

#include "physics/mat4.h"
#include "physics/vec3.h"

class PhWorld;

// One kinematic state of a body. Time unit: one tick (1/75 s).
struct BodyState {
  Vec3 position{0.0, 0.0, 0.0};  // world, m
  Vec3 velocity{0.0, 0.0, 0.0};  // world, m/tick
  Mat4 orientation;              // body to world; zero translation
  Mat4 angularStep;              // rotation applied to orientation in body coordinates each tick
};

// A simulated object. The world zeroes force and torque, then calls Step on every
// body, then Integrate on every body, once per tick.
class PhBody {
 public:
  // Orientation and angular step of all three states start as identity.
  PhBody();
  virtual ~PhBody() = default;

  // This tick's forces and torques into `force` and `torque`.
  virtual void Step() = 0;
  // Advances `current` by one tick.
  virtual void Integrate() = 0;
  // Copies `current` into `previous`.
  virtual void SavePrevious() = 0;
  // Fills `drawn` for a frame the fraction alpha (0 <= alpha < 1) of a tick after `previous`.
  virtual void InterpolateForDrawing(float alpha) = 0;
  // Moment of inertia (kg m^2) about a unit axis in body coordinates.
  virtual float InertiaAbout(const Vec3& axis) const = 0;

  PhWorld* world = nullptr;  // not owned
  BodyState current;
  BodyState previous;
  BodyState drawn;
  float mass = 0.0f;                 // kg
  Vec3 force{0.0, 0.0, 0.0};         // world, kg m/tick^2, summed over one tick
  Vec3 torque{0.0, 0.0, 0.0};        // body coordinates, force x lever arm
};

// The rigid-body part of Integrate, for implementations to call: builds the tick's
// rotation from `torque`, calls SavePrevious, then advances velocity, position,
// angular step and orientation of `current` (semi-implicit Euler, one tick) and
// re-orthonormalizes both matrices.
void integrateRigidBody(PhBody& body);

// The rigid-body part of SavePrevious: previous <- current.
void saveBodyState(PhBody& body);

// The rigid-body part of InterpolateForDrawing: drawn position blended in double,
// drawn orientation = previous blended element-wise toward current (not re-orthonormalized).
void interpolateBodyPose(PhBody& body, float alpha);
