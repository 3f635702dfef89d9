#pragma once

#include <cstdint>

// The program's shared linear congruential generator: start-up seeds it with 345,
// the car draws its noise table from it and reseeds it.
void seedRandom(uint32_t seed);

// The next value in 0..32767.
int nextRandom();

// The generator's state, so that a caller that must draw without disturbing the
// sequence (a second car's construction) can put it back with seedRandom.
uint32_t randomState();
