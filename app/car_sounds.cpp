#include "app/car_sounds.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

// Truncation toward zero, as the channel attributes are whole numbers. A value
// out of int range (or not a number, from a car that went wrong) is pinned
// rather than left to undefined conversion.
int truncated(double value) {
  if (!(value == value)) return 0;
  if (value >= double(INT_MAX)) return INT_MAX;
  if (value <= double(INT_MIN)) return INT_MIN;
  return int(value);
}

// Tyre load at which a wheel counts fully in the slide sounds: 0.1 kg*m/tick^2.
float loadWeight(float load) { return std::clamp(load * 10.0f, 0.0f, 1.0f); }

}  // namespace

CarSoundMix carSoundRules(const CarSoundInput& car, float volume, float& squealLevel) {
  CarSoundMix mix{};
  const float r = car.rpmAverage;
  const float t = car.throttle;
  const float v = volume;

  // Two engine layers at the same pitch, cross-faded by the throttle.
  const int engineFrequency = truncated(r * 8.4f + 100.0f);
  mix.channels[kEngineHigh] = {engineFrequency, truncated(v * t * 70.0f)};
  mix.channels[kEngineLow] = {engineFrequency, truncated((1.0f - t) * v * 70.0f)};
  mix.channels[kMechanicalNoise] = {truncated(r * 2.5f + 20000.0f), truncated(t * r * v * 0.006f)};
  mix.channels[kTurboWhistle] =
      car.turbo ? ChannelSetting{truncated(r * 4.5f + 10000.0f), truncated(t * r * v * 0.003f)}
                : ChannelSetting{10000, 0};

  // Wind starts above 0.5/3 m/tick (about 45 km/h).
  const float wind = std::max(float(car.speed * 3.0 - 0.5), 0.0f);
  mix.channels[kWind] = {truncated(wind * 20000.0f + 70000.0f), truncated(v * wind * 27.0f)};

  // Slip on the road squeals only beyond a threshold and rises steeply; slip off
  // the road rumbles from the first bit of sliding.
  float squealSum = 0.0f;
  float offRoadSum = 0.0f;
  for (const CarSoundWheel& wheel : car.wheels) {
    const float w = loadWeight(wheel.load);
    // A grip ratio a rounding step above 1 would make the root below undefined.
    const float g = std::max(1.0f - wheel.gripRatio, 0.0f);
    if (wheel.surface == 0) {
      squealSum += float(std::max(0.0, std::pow(double(g), 4.0) * w - 0.15));
    } else {
      offRoadSum += float(std::pow(double(g), 0.5) * w);
    }
  }

  const int squealFrequency = std::max(45000 - truncated(squealSum * 10000.0f), 30000);
  const float squealTarget = std::min(25.0f, squealSum * squealSum * 30.0f);
  squealLevel += (squealTarget - squealLevel) * 0.2f;
  mix.channels[kSqueal] = {squealFrequency, truncated(squealLevel * v)};
  mix.channels[kOffRoad] = {30000, truncated(v * std::min(45.0f, offRoadSum * 10.0f))};

  mix.playBlowOff = car.turbo && car.blowOff > 0.1f;
  if (mix.playBlowOff) mix.channels[kBlowOff] = {44100, truncated(car.blowOff * 20.0f * v)};
  return mix;
}
