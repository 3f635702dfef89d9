#include "game/cameras.h"

#include <cmath>

namespace {

constexpr double kOrbitRadius = 200.0;
constexpr double kOrbitHeight = 10.0;
constexpr float kOrbitStep = 0.005f;  // radians per tick

constexpr double kChaseDistance = 4.0;
constexpr double kChaseHeight = 1.5;
constexpr double kChaseLeash = 10.0;

// The trackside camera stands here relative to the start position.
const Vec3 kTracksideOffset(-7.0, 1.0, -3.0);

const Vec3 kZero(0.0, 0.0, 0.0);

}  // namespace

void orbitTick(GameState& state) {
  state.orbitPointPrevious = state.orbitPoint;
  state.orbitPoint = Vec3(std::cos(state.orbitAngle) * kOrbitRadius, kOrbitHeight,
                          std::sin(state.orbitAngle) * kOrbitRadius);
  state.orbitAngle += kOrbitStep;
}

void chaseTick(GameState& state, const Vec3& position, const Vec3& velocity, const Mat4& orientation) {
  state.chasePointPrevious = state.chasePoint;
  // A short vector toward the car's back, less the velocity: standing, the
  // camera sits behind the car; moving, behind its path.
  Vec3 back = localToWorld(orientation, Vec3(0.0, 0.0, 0.1), kZero);
  Vec3 away = back - velocity;
  // Guarded: a velocity that exactly cancels the back vector must not make the
  // chase point (and every later one) not-a-number.
  normalizeGuarded(away);
  Vec3 target(position.x + kChaseDistance * away.x, position.y + kChaseHeight,
              position.z + kChaseDistance * away.z);
  double rate = length(velocity) * double(0.7f) + double(0.02f);
  state.chasePoint += (target - state.chasePoint) * rate;
  // Written so that a point that is not a number also jumps back to the car.
  if (!(length(state.chasePoint - position) <= kChaseLeash)) state.chasePoint = position + Vec3(0.0, 1.0, 0.0);
}

void interpolateCameras(GameState& state, float alpha) {
  double a = alpha;
  state.cameraPosition = state.chasePoint * a + state.chasePointPrevious * (1.0 - a);
  float beta = 1.0f - alpha;
  state.orbitDrawn = state.orbitPoint * a + state.orbitPointPrevious * double(beta);
}

bool yawToward(const Vec3& direction, float& yaw) {
  Vec3 flat(direction.x, 0.0, direction.z);
  double len = length(flat);
  if (!(len >= kNormalizeMinLength)) return false;
  Vec3 n = flat * (1.0 / len);
  double a = std::acos(n.x) * double(kRadToDeg);
  yaw = float(n.z > 0.0 ? a + 90.0 : 90.0 - a);
  return true;
}

void placeCamera(GameState& state, const Vec3& drawnPosition, const Mat4& drawnOrientation) {
  switch (state.cameraMode) {
    case kCameraBumper:
      state.cameraPosition = localToWorld(drawnOrientation, Vec3(0.0, double(0.09f), -1.5), drawnPosition);
      break;
    case kCameraRoof:
      state.cameraPosition =
          localToWorld(drawnOrientation, Vec3(0.0, double(0.55f), double(-0.7f)), drawnPosition);
      break;
    case kCameraChase:
      // The eye is the interpolated chase point; right after a recovery it can
      // stand straight above the car, and then the previous yaw is kept.
      yawToward(drawnPosition - state.cameraPosition, state.cameraYaw);
      break;
    case kCameraTrackside: {
      state.cameraPosition = state.startPosition + kTracksideOffset;
      Vec3 d = drawnPosition - state.cameraPosition;
      double distance = length(d);
      float fov = float(50.0 / (distance * double(0.12f) + 1.0));
      state.fieldOfView = fov >= 45.0f ? 45.0f : fov;
      if (distance >= kNormalizeMinLength) {
        state.cameraPitch = float(-std::asin(d.y * (1.0 / distance)) * double(kRadToDeg));
        yawToward(d, state.cameraYaw);
      }
      break;
    }
    default:
      break;
  }
}
