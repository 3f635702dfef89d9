#include "game/car_shadow.h"

namespace {

// The shadow reaches a little beyond the wheels, more along the car than across.
constexpr double kSpreadX = double(1.6f);
constexpr double kSpreadZ = double(1.7f);
// Just above the road, so it does not fight the track's depth.
constexpr double kLift = double(0.03f);

}  // namespace

void initCarShadow(CarShadow& shadow) {
  const float texCoords[2 * kShadowVertices] = {1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0.0f, 1.0f};
  const int32_t triangles[6] = {0, 1, 2, 1, 3, 2};
  for (int i = 0; i < 2 * kShadowVertices; ++i) shadow.texCoords[i] = texCoords[i];
  for (int i = 0; i < 3 * kShadowVertices; ++i) shadow.colors[i] = 0.9f;
  for (int i = 0; i < 6; ++i) shadow.triangles[i] = triangles[i];
  for (int i = 0; i < 3 * kShadowVertices; ++i) shadow.positions[i] = 0.0f;
}

void placeShadow(CarShadow& shadow, const ShadowWheel wheels[kShadowVertices],
                 const Mat4& drawnOrientation, const Vec3& drawnPosition) {
  for (int k = 0; k < kShadowVertices; ++k) {
    Vec3 q = wheels[k].mount;
    q.y -= double(wheels[k].radius + wheels[k].suspensionLength);
    q.x *= kSpreadX;
    q.z *= kSpreadZ;
    Vec3 w = localToWorld(drawnOrientation, q, drawnPosition);
    shadow.positions[3 * k] = float(w.x);
    shadow.positions[3 * k + 1] = float(w.y + kLift);
    shadow.positions[3 * k + 2] = float(w.z);
  }
}
