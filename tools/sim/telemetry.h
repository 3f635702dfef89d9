#pragma once

#include <cstdio>

class PhCar;

// Where the car is in its lap, for plots against the distance along the lap.
struct LapPosition {
  int lap = 0;             // laps begun at the start line so far; 0 before the first
  float lapTime = 0.0f;    // s, the running lap's time as the HUD shows it
  double distance = 0.0;   // m driven since the lap began (since the run began before the first)
};

// The CSV header line of the per-tick telemetry; `withDelta` adds the delta
// column of a run against a ghost lap.
void writeTelemetryHeader(FILE* out, bool withDelta = false);

// One row: the car as it stands after the step of tick `tick`. Doubles are
// written with 17 significant digits and floats with 9, so a value read back
// is the value the car held. The lap columns come next, then `delta` (s, not a
// number where the display is blank) in the delta column when given.
void writeTelemetryRow(FILE* out, long long tick, const PhCar& car, const LapPosition& lap,
                       const double* delta = nullptr);
