#include "vehicle/car.h"

#include "vehicle/noise_table.h"

namespace {

constexpr double kShakeScale = 1.2000000476837158;  // degrees per (m/tick)^2 of noise
constexpr float kRadiansToDegrees = 57.295776f;

float blend(float now, float before, float alpha, float beta) { return alpha * now + beta * before; }

}  // namespace

void PhCar::Integrate() {
  // The hubs ride with the body: held in body coordinates across the move.
  Vec3 localHubs[4];
  for (int i = 0; i < 4; ++i) {
    localHubs[i] = worldToLocal(current.orientation, wheels[i].hub, current.position);
  }
  integrateRigidBody(*this);
  for (int i = 0; i < 4; ++i) {
    wheels[i].hub = localToWorld(current.orientation, localHubs[i], current.position);
  }
}

void PhCar::SavePrevious() {
  saveBodyState(*this);
  // Field by field: a whole pose built first and then copied costs more than the
  // rest of the save.
  for (CarWheel& w : wheels) {
    w.previous.hub = w.hub;
    w.previous.matrix = w.matrix;
    w.previous.spin = w.spin;
    w.previous.steerAngle = w.steerAngle;
    w.previous.suspensionLength = w.suspensionLength;
  }
}

void PhCar::InterpolateForDrawing(float alpha) {
  interpolateBodyPose(*this, alpha);

  // Speed makes the body shiver: two slow noise walks on yaw and pitch.
  const Vec3& v = current.velocity;
  double s = dot(v, v);
  float yaw = float(sampleNoise(shakePhaseA) * s * kShakeScale);
  float pitch = float(sampleNoise(shakePhaseB) * s * kShakeScale);
  rotateBy(drawn.orientation, yawPitchMat4(yaw, pitch));

  const float beta = 1.0f - alpha;
  static const Mat4 turnAround = yawPitchMat4(180.0f, 0.0f);
  for (int i = 0; i < 4; ++i) {
    CarWheel& w = wheels[i];
    w.drawn.hub = w.hub * alpha + w.previous.hub * beta;
    w.drawn.spin = blend(w.spin, w.previous.spin, alpha, beta);
    w.drawn.steerAngle = blend(w.steerAngle, w.previous.steerAngle, alpha, beta);
    w.drawn.suspensionLength = blend(w.suspensionLength, w.previous.suspensionLength, alpha, beta);
    // The left wheels are the same model turned to face outward.
    w.drawn.matrix = drawn.orientation;
    if (i == kRearLeft || i == kFrontLeft) rotateBy(w.drawn.matrix, turnAround);
    rotateBy(w.drawn.matrix, yawPitchMat4(w.drawn.steerAngle * kRadiansToDegrees, 0.0f));
    rotateBy(w.drawn.matrix, axisAngleMat4(Vec3(1.0, 0.0, 0.0), w.drawn.spin));
  }
}
