#pragma once

#include "game/lap_class.h"
#include "game/lap_event.h"
#include "game/laps/lap_delta.h"
#include "game/laps/sector_splits.h"
#include "physics/vec3.h"

#include <vector>

struct GameState;
class InputDevice;

// Key T (scan code) switches the timing aids' display on and off.
constexpr int kKeyToggleTimingAids = 0x14;

// The live delta to a reference lap and the sector splits. They are kept up
// every driving tick whether or not they are shown; key T shows them.
struct TimingAids {
  bool shown = false;
  bool keyHeld = false;  // T was down in the previous update

  // Reference laps by classIndex, set by their owner.
  LapPath references[kLapClassCount];
  float referenceLapTimes[kLapClassCount] = {0.0f, 0.0f};
  // The references follow the ghosts' best laps (the game); false keeps those
  // set by hand (a lap given to the headless runner).
  bool followGhosts = true;
  // The circuit's centre line, for split points when there is no reference.
  std::vector<Vec3> centreLine;

  // The running lap: its reference (a copy, so a new best set meanwhile does
  // not move it), the class it was chosen for, and the delta to it.
  bool haveLapReference = false;
  LapPath lapReference;
  float lapReferenceTime = 0.0f;
  LapClass lapClass = LapClass::Plain;
  float lapTimeBefore = 0.0f;  // s, the lap timer as this tick began (after the previous one)
  DeltaTracker tracker;
  double delta = 0.0;  // s, this tick's smoothed delta; not a number when blank

  // After the line: the completed lap against its reference, for a while.
  float lapDelta = 0.0f;     // s; not a number without a reference
  int lapDeltaTicks = 0;     // ticks it stays on display

  // Split points, chosen at the session's first lap and kept, so that every
  // sector time of the session is measured between the same gates.
  SectorSplits splits;
  SectorTimer sectors;
  float lastLapSectors[kSectorCount];  // the previous lap's, not a number when untimed
  int latestTicks = 0;                 // ticks since the latest sector was timed

  TimingAids();
};

// A new reference lap for a class: its path and lap time.
void setTimingReference(TimingAids& aids, LapClass lapClass, const LapPath& path, float lapTime);

// Key T toggles the display; one press, one toggle. Only while driving (menu hidden).
void handleTimingKey(TimingAids& aids, const InputDevice& input, bool menuVisible);

// One driving tick after the lap timer, which did `lap` and left `state`; the
// car moved from `from` to `to`. A lap takes the reference of its class at its
// start; a lap whose class changes on the way (the turbo switched on) has none.
void timingTick(TimingAids& aids, const LapEvent& lap, const GameState& state, const Vec3& from, const Vec3& to);

// The lap timer stopped (restart, recovery): nothing is shown until the next lap.
void stopTimingLap(TimingAids& aids);

// A difference in seconds as the timing aids write it: a sign, then S.CC or
// SS.CC in glyphs of the numbers picture (rounded to hundredths, at most
// 99.99). Returns the number of glyphs; `negative` is false for zero.
constexpr int kSignedTimeGlyphs = 5;
int signedTimeGlyphs(float seconds, bool& negative, int glyphs[kSignedTimeGlyphs]);
