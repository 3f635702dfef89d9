#pragma once

#include <cstdio>

class PhCar;

// The CSV header line of the per-tick telemetry.
void writeTelemetryHeader(FILE* out);

// One row: the car as it stands after the step of tick `tick`. Doubles are
// written with 17 significant digits and floats with 9, so a value read back
// is the value the car held.
void writeTelemetryRow(FILE* out, long long tick, const PhCar& car);
