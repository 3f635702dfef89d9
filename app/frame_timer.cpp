#include "app/frame_timer.h"

#include <cassert>
#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;

int64_t counterNow() { return int64_t(Clock::now().time_since_epoch().count()); }

}  // namespace

bool FrameTimer::create() {
  frequency = int64_t(Clock::period::den / Clock::period::num);
  if (frequency <= 0) return false;
  startCount = counterNow();
  return true;
}

float FrameTimer::now() const {
  if (frequency <= 0) return 0.0f;
  return float((long double)(counterNow() - startCount) / (long double)frequency);
}

void FrameTimer::mark(int i) {
  assert(i >= 0 && i < kMarkCount && "frame timer mark out of range");
  marks[i] = now();
}

float FrameTimer::since(int i) const {
  assert(i >= 0 && i < kMarkCount && "frame timer mark out of range");
  return now() - marks[i];
}
