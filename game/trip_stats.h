#pragma once

#include "physics/mat4.h"
#include "physics/vec3.h"

// Statistics of the current run, logged when the player quits from the menu.
// Speeds in metres per tick, accelerations in metres per tick per tick.
struct TripStats {
  float statsTimer = 0.0f;  // gates the sampling; cleared at the end of start-up
  float topSpeed = 0.0f;
  float accelMax = 0.0f;
  float accelMin = 0.0f;
  float sideMax = 0.0f;
  float sideMin = 0.0f;
  float distance = 0.0f;  // metres
};

// Once per update with the car's current and previous (start of the last tick)
// velocity and its current orientation. The first five seconds' worth of
// updates after start-up are not sampled, so settling and starting do not count.
void sampleTripStats(TripStats& stats, const Vec3& velocity, const Vec3& previousVelocity,
                     const Mat4& orientation);

// Once per tick that stepped the car: adds the length of its displacement.
void addTripDistance(TripStats& stats, const Vec3& position, const Vec3& previousPosition);

// The six statistics lines, through the log.
void logTripStats(const TripStats& stats);
