#pragma once

// The HUD's word for a save that failed: NOT SAVED, shown for four seconds of
// driving after each failure, and never otherwise.
struct SaveNotice {
  int failuresSeen = 0;  // failed saves already shown
  int ticksLeft = 0;     // of the notice showing
};

constexpr int kSaveNoticeTicks = 300;  // 4 s

// Once a driving tick, with the run's failed saves so far: a new failure
// starts the notice; otherwise it runs down.
void saveNoticeTick(SaveNotice& notice, int failures);
