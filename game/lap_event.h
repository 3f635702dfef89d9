#pragma once

#include "game/lap_class.h"

#include <cstdint>

// What one tick of lap timing did at the line: everything that follows a lap
// (the ghosts, the timing aids, the runner) reads it instead of comparing the
// timer before and after.
struct LapEvent {
  bool started = false;    // the car touched the line: a new lap runs from this tick
  bool completed = false;  // the touch ended a running lap (started is true as well)
  float lapTime = 0.0f;    // s, the completed lap as the timer held it
  uint32_t lapTicks = 0;   // ticks of the completed lap (lapTimeOfTicks gives lapTime)
  LapClass lapClass = LapClass::Plain;  // the completed lap's class
  bool newBest = false;    // the completed lap took the first place of its class
  // The running lap's class as it stands after this tick: the turbo marks it.
  // At a start the timer clears its mark and counts the turbo again from the
  // next tick; the new lap's class is then the turbo as it stands.
  LapClass runningClass = LapClass::Plain;
};
