#pragma once

// One program-wide table of 256 smooth noise values in about -1..1: the bump
// texture of rough ground and the body shake read it.
extern float noiseTable[256];

// Fills the table from the shared generator with 512 draws: 256 raw values
// smoothed four times, then 256 small ones added as fine grain.
void buildNoiseTable();

// The table at a fractional position 0 <= phase < 256, linear between entries
// and wrapping from 255 back to 0; a phase outside the table wraps into it.
double sampleNoise(double phase);

// A noise phase's new value (old value plus this tick's step, summed in double)
// stored in single precision and brought back under 256 by one subtraction. The
// wrap looks at the stored value: a sum just short of 256 can round up to 256.
inline float wrapNoisePhase(double phase) {
  float stored = float(phase);
  return stored >= 256.0f ? stored - 256.0f : stored;
}
