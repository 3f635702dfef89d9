#include "app/rumble.h"

#include <algorithm>
#include <cmath>

namespace {

// |value| past the dead zone, rescaled to 0..1.
float rumbleStrength(float value) {
  if (!(std::fabs(value) > kRumbleDeadZone)) return 0.0f;  // also a value that is not a number
  float s = (std::fabs(value) - kRumbleDeadZone) / (1.0f - kRumbleDeadZone);
  return std::min(s, 1.0f);
}

}  // namespace

RumbleMotors rumbleMotors(float value) {
  RumbleMotors m;
  uint16_t strength = uint16_t(std::lround(rumbleStrength(value) * 65535.0f));
  if (value < 0.0f) {
    m.left = strength;
  } else {
    m.right = strength;
  }
  return m;
}

int16_t rumbleForceLevel(float value) {
  float level = rumbleStrength(value) * 32767.0f;
  return int16_t(std::lround(value < 0.0f ? -level : level));
}
