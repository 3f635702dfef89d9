#include "vehicle/noise_table.h"

#include "physics/random.h"

float noiseTable[256];

namespace {

// A generator value 0..32767 mapped onto 0..2000; the factor sits a hair below
// 2001/32767 so that only 32767 reaches 2000.
int drawStep() { return int(nextRandom() * 0.06106753746147038); }

}  // namespace

void buildNoiseTable() {
  for (float& entry : noiseTable) entry = float((drawStep() - 1000) * 0.001);
  for (int pass = 0; pass < 4; ++pass) {
    float before[256];
    for (int i = 0; i < 256; ++i) before[i] = noiseTable[i];
    for (int i = 0; i < 256; ++i) {
      double left = before[(i + 255) % 256];
      double right = before[(i + 1) % 256];
      noiseTable[i] = float((2.0 * before[i] + left + right) * 0.25);
    }
  }
  for (float& entry : noiseTable) entry = float(entry + (drawStep() - 1000) * 0.00025);
}

double sampleNoise(double phase) {
  // Phases are kept below 256 by one subtraction per tick, which a huge jump in
  // speed can outrun: the index is wrapped so that it never leaves the table.
  if (!(phase >= 0.0 && phase < 1e9)) phase = 0.0;
  int i = int(phase);
  double f = phase - i;
  return (1.0 - f) * noiseTable[i & 255] + f * noiseTable[(i + 1) & 255];
}
