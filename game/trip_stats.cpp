#include "game/trip_stats.h"

#include "app/log.h"

#include <cmath>

namespace {

// Sampling starts once the timer passes this; with its fixed growth per update
// that is the 376th update after start-up.
constexpr float kSettleSeconds = 5.0f;
constexpr float kSampleStep = 0.013333334f;

// Metres per tick to km/h, and metres per tick per tick to units of 9.8 m/s^2.
constexpr double kKphPerMetrePerTick = 270.0;
constexpr float kGPerMetrePerTick2 = 573.9795532226562f;

}  // namespace

void sampleTripStats(TripStats& stats, const Vec3& velocity, const Vec3& previousVelocity,
                     const Mat4& orientation) {
  stats.statsTimer += kSampleStep;
  if (!(stats.statsTimer > kSettleSeconds)) return;

  Vec3 local = worldToLocal(orientation, velocity - previousVelocity, Vec3(0.0, 0.0, 0.0));
  // The car's forward axis is its local -z.
  double along = -local.z;
  double side = local.x;
  double speed = length(velocity);
  if (speed > stats.topSpeed) stats.topSpeed = float(speed);
  if (along > stats.accelMax) stats.accelMax = float(along);
  if (along < stats.accelMin) stats.accelMin = float(along);
  if (side > stats.sideMax) stats.sideMax = float(side);
  if (side < stats.sideMin) stats.sideMin = float(side);
}

void addTripDistance(TripStats& stats, const Vec3& position, const Vec3& previousPosition) {
  double step = length(position - previousPosition);
  // A tick that lost the car (not a number) must not spoil the whole total.
  if (std::isfinite(step)) stats.distance = float(double(stats.distance) + step);
}

void logTripStats(const TripStats& stats) {
  logLine("Top speed:         %.2fkph", double(stats.topSpeed) * kKphPerMetrePerTick);
  logLine("Acceleration max:  %.2fg", double(stats.accelMax * kGPerMetrePerTick2));
  logLine("Acceleration min: %.2fg", double(stats.accelMin * kGPerMetrePerTick2));
  logLine("Side force max:    %.2fg", double(stats.sideMax * kGPerMetrePerTick2));
  logLine("Side force min:   %.2fg", double(stats.sideMin * kGPerMetrePerTick2));
  logLine("Distance travelled:  %.2fm", double(stats.distance));
}
