#pragma once

#include <cstdint>

class PhCar;

// FNV-1a (64-bit) of everything of the car that its next ticks read, in
// visitCarState order, leaving out what only drawing and sound use (the blow-off
// strength, which the sound clears, and the body-shake phases, which no reset
// clears). A proof holds it for the car at its lap's end.
uint64_t proofStateHash(const PhCar& car);
