#pragma once

#include <cstdio>

class PhCar;

// The CSV header line of the per-tick telemetry.
// The CSV header line of the per-tick telemetry; `withDelta` adds the delta
// column of a run against a ghost lap.
void writeTelemetryHeader(FILE* out, bool withDelta = false);

// One row: the car as it stands after the step of tick `tick`. Doubles are
// written with 17 significant digits and floats with 9, so a value read back
// is the value the car held.
// `delta` (s, not a number where the display is blank) goes in the delta column
// when given.
void writeTelemetryRow(FILE* out, long long tick, const PhCar& car, const double* delta = nullptr);
