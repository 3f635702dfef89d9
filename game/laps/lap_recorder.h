#pragma once

#include "game/lap_event.h"
#include "game/laps/ghost_file.h"

class InputDevice;
class PhCar;

// Keeps, while a lap is timed, what a ghost file needs: the car at the lap's
// start, and each tick's inputs and pose. Separate from the car's own replay
// recorder, which stays off.
struct LapRecorder {
  bool recording = false;
  GhostLap lap;  // the lap so far; its buffers are reused from lap to lap
};

// The car has just touched the line (after that tick's step): its state starts
// the lap.
void beginLapRecording(LapRecorder& recorder, const PhCar& car, uint64_t trackId);
// After a step of the running lap: the inputs the step read and the pose it
// reached. A lap longer than a ghost file holds is given up.
void recordLapTick(LapRecorder& recorder, const InputDevice& input, const PhCar& car);
// The lap ended without being completed (restart, recovery).
void cancelLapRecording(LapRecorder& recorder);
// The step just recorded touched the line and completed the lap: fills in the
// lap's time and class and stops recording. The lap stays in
// recorder.lap until the next beginLapRecording. False when nothing was being
// recorded.
bool finishLapRecording(LapRecorder& recorder, const LapEvent& completed);
