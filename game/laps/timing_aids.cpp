#include "game/laps/timing_aids.h"

#include "app/input_device.h"
#include "game/game_state.h"

#include <cmath>
#include <limits>

namespace {

constexpr double kNotANumber = std::numeric_limits<double>::quiet_NaN();
// How long the completed lap's difference stays after the line (4 s).
constexpr int kLapDeltaTicks = 300;

// The reference of the lap's class, when there is one, or none.
void chooseLapReference(TimingAids& aids, int lapClass) {
  if (aids.references[lapClass].points.size() < 2) {
    aids.lapClass = -1;
    aids.lapReference = LapPath{};
    return;
  }
  aids.lapClass = lapClass;
  aids.lapReference = aids.references[lapClass];
  aids.lapReferenceTime = aids.referenceLapTimes[lapClass];
  aids.lapVersion = aids.referenceVersions[lapClass];
}

// The session's split points: from the reference, else the centre line.
void chooseSplits(TimingAids& aids, const GameState& state) {
  if (aids.lapClass >= 0 && splitsFromLapPath(aids.lapReference, aids.lapReferenceTime, aids.splits)) return;
  splitsFromCentreLine(aids.centreLine, state.startPosition, aids.splits);
}

void startLap(TimingAids& aids, const GameState& state) {
  int lapClass = state.turboUsedThisLap ? 1 : 0;
  chooseLapReference(aids, lapClass);
  if (!aids.splits.valid) chooseSplits(aids, state);
  resetDelta(aids.tracker);
  startSectorLap(aids.sectors);
  aids.lapTicks = 0;
}

}  // namespace

TimingAids::TimingAids() {
  for (float& t : lastLapSectors) t = std::numeric_limits<float>::quiet_NaN();
  delta = kNotANumber;
  lapDelta = std::numeric_limits<float>::quiet_NaN();
}

void setTimingReference(TimingAids& aids, bool turbo, const LapPath& path, float lapTime) {
  int c = turbo ? 1 : 0;
  aids.references[c] = path;
  aids.referenceLapTimes[c] = lapTime;
  aids.referenceVersions[c] += 1;
}

void handleTimingKey(TimingAids& aids, const InputDevice& input, bool menuVisible) {
  bool down = input.isDown(kKeyTimingAids);
  if (down && !aids.keyHeld && !menuVisible) aids.shown = !aids.shown;
  aids.keyHeld = down;
}

void stopTimingLap(TimingAids& aids) {
  aids.lapClass = -1;
  aids.delta = kNotANumber;
  aids.lapTicks = 0;
}

void timingTick(TimingAids& aids, const GameState& state, float lapTimeBefore, bool wasLatched, bool wasRunning,
                const Vec3& from, const Vec3& to) {
  if (aids.lapDeltaTicks > 0) aids.lapDeltaTicks -= 1;
  aids.latestTicks += 1;
  if (!state.lapRunning) {
    stopTimingLap(aids);
    return;
  }
  bool lapStarted = !wasLatched && state.lineLatched;
  if (lapStarted) {
    if (wasRunning) {
      // lastLapTime is the completed lap as the timer read it before this tick.
      if (finishSectorLap(aids.sectors, state.lastLapTime)) aids.latestTicks = 0;
      for (int i = 0; i < kSectorCount; ++i) aids.lastLapSectors[i] = aids.sectors.current[i];
      aids.lapDelta = aids.lapClass >= 0 ? state.lastLapTime - aids.lapReferenceTime
                                         : std::numeric_limits<float>::quiet_NaN();
      aids.lapDeltaTicks = aids.lapClass >= 0 ? kLapDeltaTicks : 0;
    }
    startLap(aids, state);
  } else if (passSplits(aids.sectors, aids.splits, from, to, lapTimeBefore) >= 0) {
    aids.latestTicks = 0;
  }
  aids.lapTicks += 1;

  // A reference set while the lap was only starting (a best lap saved at the
  // line) is taken up; later ones wait for the next lap.
  int lapClass = state.turboUsedThisLap ? 1 : 0;
  if (aids.lapTicks <= 2 && aids.referenceVersions[lapClass] != aids.lapVersion) {
    chooseLapReference(aids, lapClass);
    resetDelta(aids.tracker);
  }
  // The turbo switched on during the lap changes its class: no reference fits.
  if (aids.lapClass != lapClass) {
    aids.lapClass = -1;
    aids.delta = kNotANumber;
    return;
  }
  aids.delta = updateDelta(aids.tracker, aids.lapReference, to, state.lapTime);
}

int signedTimeGlyphs(float seconds, bool& negative, int glyphs[kSignedTimeGlyphs]) {
  constexpr long kMostHundredths = 9999;
  constexpr int kPointGlyph = 11;
  long h = std::isfinite(seconds) ? std::lround(std::fabs(double(seconds)) * 100.0) : 0;
  if (h > kMostHundredths) h = kMostHundredths;
  negative = seconds < 0.0f && h > 0;
  int n = 0;
  if (h >= 1000) glyphs[n++] = int(h / 1000);
  glyphs[n++] = int(h / 100 % 10);
  glyphs[n++] = kPointGlyph;
  glyphs[n++] = int(h / 10 % 10);
  glyphs[n++] = int(h % 10);
  return n;
}
