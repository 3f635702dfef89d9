#pragma once

#include <cstdint>

// The frame clock: twenty marks in seconds on the high-resolution counter.
// Mark 0 is the start of the current game update, mark 1 the start of the
// current render; the other marks are free.
struct FrameTimer {
  static constexpr int kMarkCount = 20;

  float marks[kMarkCount] = {};
  int64_t startCount = 0;  // counter value at creation
  int64_t frequency = 0;   // counter ticks per second

  // Queries the counter frequency and, only when that works, takes the start
  // counter. False when the machine has no usable counter.
  bool create();
  // Seconds since creation, computed in extended precision, stored as a float.
  float now() const;
  // Stores now() into mark i.
  void mark(int i);
  // now() - mark i.
  float since(int i) const;
};
