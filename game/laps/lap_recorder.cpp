#include "game/laps/lap_recorder.h"

#include "vehicle/car.h"

void beginLapRecording(LapRecorder& recorder, const PhCar& car, uint64_t trackId) {
  recorder.recording = true;
  GhostLap& lap = recorder.lap;
  lap.physicsVersion = kPhysicsVersion;
  lap.trackId = trackId;
  lap.lapTime = 0.0f;
  lap.lapClass = LapClass::Plain;
  lap.start = captureCarState(car);
  lap.inputs.clear();
  lap.poses.clear();
}

void recordLapTick(LapRecorder& recorder, const InputDevice& input, const PhCar& car) {
  if (!recorder.recording) return;
  GhostLap& lap = recorder.lap;
  if (lap.inputs.size() >= kMaxGhostTicks) {
    cancelLapRecording(recorder);
    return;
  }
  lap.inputs.push_back(captureGhostInput(input, car));
  lap.poses.push_back(captureGhostPose(car));
}

void cancelLapRecording(LapRecorder& recorder) {
  recorder.recording = false;
  recorder.lap.inputs.clear();
  recorder.lap.poses.clear();
}

bool finishLapRecording(LapRecorder& recorder, const LapEvent& completed) {
  if (!recorder.recording || recorder.lap.inputs.empty()) return false;
  recorder.recording = false;
  recorder.lap.lapTime = completed.lapTime;
  recorder.lap.lapClass = completed.lapClass;
  return true;
}
