#pragma once

#include "game/track_line.h"

class PhCar;

// How hard the autopilot drives. The car leaves the road from about 14 m/s^2
// in the corners of a fast oval (15 on the generated circuit) or 9 m/s^2 of
// planned braking: these stay close to that, yet give the same lap every time.
struct AutopilotTuning {
  double lateralAccel = 12.0;   // m/s^2 allowed in a corner
  double brakingDecel = 6.5;    // m/s^2 planned for braking toward a corner
  double lookAheadBase = 7.0;   // m
  double lookAheadPerSpeed = 0.35;  // m per m/s
  double planningReach = 200.0;  // m of line searched for the slowest corner ahead
  double speedGain = 0.5;       // stick per m/s of speed error
  double slideGrip = 0.5;       // rear grip ratio at which the throttle is fully closed
};

// The stick readings (-1000..1000) the autopilot gives the controller: x
// steers (positive right), y is the pedals (negative throttle, positive brake).
struct StickReading {
  int x = 0;
  int y = 0;
};

// Drives the car round the circuit along its centre line through the analog
// controller: steering toward a point ahead on the line, throttle and brake
// toward a speed that the curvature ahead allows.
struct Autopilot {
  const TrackLine* line = nullptr;
  AutopilotTuning tuning;
  size_t nearest = 0;  // index of the line point the car is at
  bool tracking = false;  // false until the first search, and after a jump

  // The target speed (m/s) at the car's position, for telemetry and tests.
  double targetSpeed = 0.0;

  // This tick's stick readings for the car as it stands.
  StickReading drive(const PhCar& car);
  // The car was put somewhere else: search the whole line again next tick.
  void lose() { tracking = false; }
};
