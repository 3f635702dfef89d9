#include "game/laps/timing_aids.h"

#include "app/input_device.h"
#include "game/game_state.h"
#include "game/time_display.h"

#include <cmath>
#include <limits>

namespace {

constexpr double kNotANumber = std::numeric_limits<double>::quiet_NaN();
// How long the completed lap's difference stays after the line (4 s).
constexpr int kLapDeltaTicks = 300;

// The reference of the lap's class, when there is one, or none.
void chooseLapReference(TimingAids& aids, LapClass lapClass) {
  int c = classIndex(lapClass);
  aids.lapClass = lapClass;
  aids.haveLapReference = aids.references[c].points.size() >= 2;
  aids.lapReference = aids.haveLapReference ? aids.references[c] : LapPath{};
  aids.lapReferenceTime = aids.referenceLapTimes[c];
}

// The session's split points: from the reference, else the centre line.
void chooseSplits(TimingAids& aids, const GameState& state) {
  if (aids.haveLapReference && splitsFromLapPath(aids.lapReference, aids.lapReferenceTime, aids.splits)) return;
  splitsFromCentreLine(aids.centreLine, state.startPosition, aids.splits);
}

// The completed lap's sectors and its difference to its reference.
void finishLap(TimingAids& aids, float lapTime) {
  if (finishSectorLap(aids.sectors, lapTime)) aids.latestTicks = 0;
  for (int i = 0; i < kSectorCount; ++i) aids.lastLapSectors[i] = aids.sectors.current[i];
  aids.lapDelta = aids.haveLapReference ? lapTime - aids.lapReferenceTime : std::numeric_limits<float>::quiet_NaN();
  aids.lapDeltaTicks = aids.haveLapReference ? kLapDeltaTicks : 0;
}

void startLap(TimingAids& aids, const GameState& state, LapClass lapClass) {
  chooseLapReference(aids, lapClass);
  if (!aids.splits.valid) chooseSplits(aids, state);
  resetDelta(aids.tracker);
  startSectorLap(aids.sectors);
}

}  // namespace

TimingAids::TimingAids() {
  for (float& t : lastLapSectors) t = std::numeric_limits<float>::quiet_NaN();
  delta = kNotANumber;
  lapDelta = std::numeric_limits<float>::quiet_NaN();
}

void setTimingReference(TimingAids& aids, LapClass lapClass, const LapPath& path, float lapTime) {
  aids.references[classIndex(lapClass)] = path;
  aids.referenceLapTimes[classIndex(lapClass)] = lapTime;
}

void handleTimingKey(TimingAids& aids, const InputDevice& input, bool menuVisible) {
  bool down = input.isDown(kKeyToggleTimingAids);
  if (down && !aids.keyHeld && !menuVisible) aids.shown = !aids.shown;
  aids.keyHeld = down;
}

void stopTimingLap(TimingAids& aids) {
  aids.haveLapReference = false;
  aids.delta = kNotANumber;
}

void timingTick(TimingAids& aids, const LapEvent& lap, const GameState& state, const Vec3& from, const Vec3& to) {
  if (aids.lapDeltaTicks > 0) aids.lapDeltaTicks -= 1;
  aids.latestTicks += 1;
  float lapTimeBefore = aids.lapTimeBefore;
  aids.lapTimeBefore = state.lapTime;
  if (!state.lapRunning) {
    stopTimingLap(aids);
    return;
  }
  if (lap.started) {
    if (lap.completed) finishLap(aids, lap.lapTime);
    startLap(aids, state, lap.runningClass);
  } else if (passSplits(aids.sectors, aids.splits, from, to, lapTimeBefore) >= 0) {
    aids.latestTicks = 0;
  }

  // The turbo switched on during the lap changes its class: no reference fits.
  if (aids.lapClass != lap.runningClass) aids.haveLapReference = false;
  aids.delta = aids.haveLapReference ? updateDelta(aids.tracker, aids.lapReference, to, state.lapTime) : kNotANumber;
}

int signedTimeGlyphs(float seconds, bool& negative, int glyphs[kSignedTimeGlyphs]) {
  constexpr long kMostHundredths = 9999;
  long h = std::isfinite(seconds) ? std::lround(std::fabs(double(seconds)) * 100.0) : 0;
  if (h > kMostHundredths) h = kMostHundredths;
  negative = seconds < 0.0f && h > 0;
  int n = 0;
  if (h >= 1000) glyphs[n++] = int(h / 1000);
  glyphs[n++] = int(h / 100 % 10);
  glyphs[n++] = kGlyphPoint;
  glyphs[n++] = int(h / 10 % 10);
  glyphs[n++] = int(h % 10);
  return n;
}
