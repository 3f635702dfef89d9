#include "physics/random.h"

namespace {
uint32_t gState = 1;
}  // namespace

void seedRandom(uint32_t seed) { gState = seed; }

uint32_t randomState() { return gState; }

int nextRandom() {
  gState = gState * 214013u + 2531011u;
  return int((gState >> 16) & 0x7fffu);
}
