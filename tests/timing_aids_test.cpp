#include "game/laps/lap_delta.h"
#include "game/laps/sector_splits.h"
#include "game/laps/timing_aids.h"

#include "app/input_device.h"
#include "game/game_state.h"
#include "game/laps.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

constexpr double kTol = 1e-9;
constexpr double kPi = 3.14159265358979323846;

// A circle of radius 100 m driven anticlockwise from (100, 0, 0) at a steady
// `speed` m per tick, one point a tick with the lap timer's reading there.
LapPath circleLap(double speed, int ticks) {
  LapPath path;
  float timer = 0.0f;
  for (int i = 0; i < ticks; ++i) {
    double a = speed * i / 100.0;
    path.points.push_back(Vec3(100.0 * std::cos(a), 0.0, -100.0 * std::sin(a)));
    timer += kTickSeconds;
    path.times.push_back(timer);
  }
  return path;
}

// A straight along -z from the origin, one point a metre, 0.1 s apart.
LapPath straight(int points) {
  LapPath path;
  for (int i = 0; i < points; ++i) {
    path.points.push_back(Vec3(0.0, 0.0, -double(i)));
    path.times.push_back(0.1f * float(i));
  }
  return path;
}

}  // namespace

TEST(LapDelta, TheReferenceDrivenAgainIsZeroEverywhere) {
  LapPath ghost = circleLap(0.8, 700);
  DeltaTracker tracker;
  for (size_t i = 0; i < ghost.points.size(); ++i) {
    double d = updateDelta(tracker, ghost, ghost.points[i], ghost.times[i]);
    ASSERT_NEAR(d, 0.0, kTol) << "tick " << i;
  }
}

TEST(LapDelta, ASlowerCarIsBehindByTheTimeLost) {
  // The same line at 90% of the speed: at each point the car arrives later.
  LapPath ghost = circleLap(0.9, 700);
  LapPath car = circleLap(0.81, 700);
  DeltaTracker tracker;
  double d = 0.0;
  for (size_t i = 0; i < car.points.size(); ++i) d = updateDelta(tracker, ghost, car.points[i], car.times[i]);
  double expected = car.times.back() * (1.0 - 0.9);  // the time the ghost needed for that stretch
  EXPECT_NEAR(d, expected, 0.01);
  EXPECT_GT(d, 0.0);
}

TEST(LapDelta, BlankFarFromThePathAndAgainWhenBack) {
  LapPath ghost = straight(100);
  DeltaTracker tracker;
  EXPECT_NEAR(updateDelta(tracker, ghost, Vec3(0.0, 0.0, -10.0), 1.2f), 0.2, 1e-6);
  EXPECT_TRUE(std::isnan(updateDelta(tracker, ghost, Vec3(15.5, 0.0, -11.0), 1.3f)));
  // Back on the path: a fresh value at once, not the smoothing of the old one.
  double d = updateDelta(tracker, ghost, Vec3(14.0, 0.0, -12.0), 1.0f);
  EXPECT_NEAR(d, -0.2, 1e-6);
}

TEST(LapDelta, NoPathNoDelta) {
  DeltaTracker tracker;
  EXPECT_TRUE(std::isnan(updateDelta(tracker, LapPath{}, Vec3(0.0, 0.0, 0.0), 0.0f)));
  LapPath mismatched = straight(10);
  mismatched.times.pop_back();
  EXPECT_TRUE(std::isnan(updateDelta(tracker, mismatched, Vec3(0.0, 0.0, 0.0), 0.0f)));
}

TEST(LapDelta, AProjectionNeverJumpsBackAcrossACrossing) {
  // A figure of eight: the path comes back through the origin later. A car at
  // the crossing early in the lap must take the early stretch, and one there
  // late the late stretch, whichever is nearer in time.
  LapPath path;
  for (int i = 0; i <= 400; ++i) {
    double a = 2.0 * kPi * i / 400.0;
    path.points.push_back(Vec3(60.0 * std::sin(a), 0.0, 30.0 * std::sin(2.0 * a)));
    path.times.push_back(0.1f * float(i));
  }
  DeltaTracker tracker;
  for (int i = 0; i <= 190; ++i) updateDelta(tracker, path, path.points[i], path.times[i]);
  // Close to the crossing at i = 200, the car is on the second pass.
  double d = updateDelta(tracker, path, Vec3(0.0, 0.0, 0.0), 20.0f);
  EXPECT_NEAR(d, 0.0, 0.05);
  EXPECT_GE(tracker.segment, size_t(190));
}

TEST(LapDelta, TheDisplayHoldsWithinHalfAHundredth) {
  LapPath ghost = straight(100);
  DeltaTracker tracker;
  updateDelta(tracker, ghost, Vec3(0.0, 0.0, -10.0), 1.0f);
  EXPECT_FLOAT_EQ(tracker.shown, 0.0f);
  // Jitter of 6 ms either way does not move the hundredths.
  for (int i = 0; i < 40; ++i) {
    float jitter = (i % 2 == 0) ? 0.006f : -0.006f;
    updateDelta(tracker, ghost, Vec3(0.0, 0.0, -10.0 - 0.1 * i), 1.0f + 0.01f * float(i) + jitter);
    ASSERT_FLOAT_EQ(tracker.shown, 0.0f) << i;
  }
  // A real change does.
  for (int i = 0; i < 20; ++i) updateDelta(tracker, ghost, Vec3(0.0, 0.0, -20.0), 2.05f);
  EXPECT_NEAR(tracker.shown, 0.05f, 1e-6);
}

TEST(SectorSplits, OnTheReferencePathAtThirdsOfItsTime) {
  LapPath lap = circleLap(0.8, 600);
  float lapTime = 600 * kTickSeconds;
  SectorSplits splits;
  ASSERT_TRUE(splitsFromLapPath(lap, lapTime, splits));
  for (int k = 0; k < kSplitCount; ++k) {
    // At a steady speed a third of the time is a third of the way.
    double a = 0.8 * (600.0 * (k + 1) / 3.0 - 1.0) / 100.0;
    EXPECT_NEAR(splits.gates[k].point.x, 100.0 * std::cos(a), 0.01) << k;
    EXPECT_NEAR(splits.gates[k].point.z, -100.0 * std::sin(a), 0.01) << k;
    // Facing the driving direction, anticlockwise seen from above.
    EXPECT_NEAR(splits.gates[k].forward.x, -std::sin(a), 0.01) << k;
    EXPECT_NEAR(splits.gates[k].forward.z, -std::cos(a), 0.01) << k;
  }
}

TEST(SectorSplits, OnTheCentreLineFromThePointNearestTheStart) {
  // A square of 100 m sides in driving order; the start near its second corner.
  std::vector<Vec3> line = {Vec3(0, 0, 0), Vec3(0, 0, -100), Vec3(100, 0, -100), Vec3(100, 0, 0)};
  SectorSplits splits;
  ASSERT_TRUE(splitsFromCentreLine(line, Vec3(2.0, 0.0, -99.0), splits));
  // 400 m round: from (0, -100) a third is 133.3 m, two thirds 266.7 m.
  EXPECT_NEAR(splits.gates[0].point.x, 100.0, kTol);
  EXPECT_NEAR(splits.gates[0].point.z, -100.0 + 33.333333333, 1e-6);
  EXPECT_NEAR(splits.gates[0].forward.z, 1.0, kTol);
  EXPECT_NEAR(splits.gates[1].point.x, 100.0 - 66.666666667, 1e-6);
  EXPECT_NEAR(splits.gates[1].point.z, 0.0, kTol);
  EXPECT_NEAR(splits.gates[1].forward.x, -1.0, kTol);
  EXPECT_FALSE(splitsFromCentreLine({Vec3(0, 0, 0), Vec3(1, 0, 0)}, Vec3(0, 0, 0), splits));
}

TEST(SectorSplits, AGateCountsForwardAndNearOnly) {
  SplitGate gate{Vec3(0.0, 0.0, 0.0), Vec3(0.0, 0.0, -1.0)};
  EXPECT_TRUE(crossesGate(gate, Vec3(3.0, 0.0, 0.5), Vec3(3.0, 0.0, -0.5)));
  EXPECT_TRUE(crossesGate(gate, Vec3(0.0, 0.0, 0.0001), Vec3(0.0, 0.0, 0.0)));  // touching counts once
  EXPECT_FALSE(crossesGate(gate, Vec3(0.0, 0.0, 0.0), Vec3(0.0, 0.0, -1.0)));
  EXPECT_FALSE(crossesGate(gate, Vec3(3.0, 0.0, -0.5), Vec3(3.0, 0.0, 0.5)));   // backwards
  EXPECT_FALSE(crossesGate(gate, Vec3(16.0, 0.0, 0.5), Vec3(16.0, 0.0, -0.5)));  // beside the track
  EXPECT_FALSE(crossesGate(gate, Vec3(0.0, 8.0, 0.5), Vec3(0.0, 8.0, -0.5)));    // a bridge above
}

TEST(SectorSplits, SectorsAddUpToTheLapAndMakeTheIdealLap) {
  SectorSplits splits;
  splits.gates[0] = {Vec3(0.0, 0.0, -100.0), Vec3(0.0, 0.0, -1.0)};
  splits.gates[1] = {Vec3(0.0, 0.0, -200.0), Vec3(0.0, 0.0, -1.0)};
  splits.valid = true;
  SectorTimer timer;
  EXPECT_TRUE(std::isnan(idealLap(timer)));

  auto lap = [&](float first, float second, float total) {
    startSectorLap(timer);
    EXPECT_EQ(passSplits(timer, splits, Vec3(0, 0, -150.5), Vec3(0, 0, -151.5), 1.0f), -1);  // gates in order
    EXPECT_EQ(passSplits(timer, splits, Vec3(0, 0, -99.5), Vec3(0, 0, -100.5), first), 0);
    EXPECT_EQ(passSplits(timer, splits, Vec3(0, 0, -199.5), Vec3(0, 0, -200.5), second), 1);
    EXPECT_TRUE(finishSectorLap(timer, total));
  };
  lap(20.0f, 45.0f, 70.0f);
  EXPECT_FLOAT_EQ(timer.current[0] + timer.current[1] + timer.current[2], 70.0f);
  EXPECT_TRUE(std::isnan(timer.previousBest[2]));
  lap(19.0f, 46.0f, 71.5f);  // a better first sector, worse others
  EXPECT_FLOAT_EQ(timer.current[1], 27.0f);
  EXPECT_FLOAT_EQ(timer.previousBest[1], 25.0f);
  EXPECT_FLOAT_EQ(idealLap(timer), 19.0f + 25.0f + 25.0f);
  EXPECT_EQ(timer.latest, 2);

  // A lap that misses a gate has no last sector.
  startSectorLap(timer);
  passSplits(timer, splits, Vec3(0, 0, -99.5), Vec3(0, 0, -100.5), 18.0f);
  EXPECT_FALSE(finishSectorLap(timer, 60.0f));
  EXPECT_FLOAT_EQ(timer.best[0], 18.0f);
  EXPECT_FLOAT_EQ(timer.best[2], 25.0f);
}

TEST(SectorSplits, PrintedHundredthsAddUpToThePrintedLap) {
  const float sectors[3] = {20.604f, 26.554f, 30.466f};
  long h[3];
  ASSERT_TRUE(sectorHundredths(sectors, 77.624f, h));
  EXPECT_EQ(h[0] + h[1] + h[2], long(77.624f * 100.0f));
  EXPECT_EQ(h[0], 2060);
  EXPECT_EQ(h[1], 2656);  // 47.158 rounds to 47.16
  const float missing[3] = {20.0f, NAN, 30.0f};
  EXPECT_FALSE(sectorHundredths(missing, 70.0f, h));
}

TEST(TimingAids, TKeyTogglesOncePerPressAndOnlyWhileDriving) {
  TimingAids aids;
  InputDevice input(nullptr);
  std::memset(input.keys, 0, sizeof(input.keys));
  input.keys[kKeyToggleTimingAids] = 0x80;
  handleTimingKey(aids, input, false);
  handleTimingKey(aids, input, false);
  EXPECT_TRUE(aids.shown);
  input.keys[kKeyToggleTimingAids] = 0;
  handleTimingKey(aids, input, false);
  input.keys[kKeyToggleTimingAids] = 0x80;
  handleTimingKey(aids, input, true);
  EXPECT_TRUE(aids.shown);
}

TEST(TimingAids, DifferencesReadWithASignAndHundredths) {
  bool negative = false;
  int g[kSignedTimeGlyphs];
  ASSERT_EQ(signedTimeGlyphs(0.424f, negative, g), 4);
  EXPECT_FALSE(negative);
  EXPECT_EQ(g[0], 0);
  EXPECT_EQ(g[1], 11);
  EXPECT_EQ(g[2], 4);
  EXPECT_EQ(g[3], 2);
  ASSERT_EQ(signedTimeGlyphs(-12.345f, negative, g), 5);
  EXPECT_TRUE(negative);
  EXPECT_EQ(g[0] * 10 + g[1], 12);
  EXPECT_EQ(g[3] * 10 + g[4], 35);  // rounded: 12.345 as a float is above the half
  signedTimeGlyphs(-0.004f, negative, g);
  EXPECT_FALSE(negative);  // reads 0.00, with no minus
  ASSERT_EQ(signedTimeGlyphs(250.0f, negative, g), 5);
  EXPECT_EQ(g[0] * 10 + g[1], 99);
}

namespace {

// The timing aids after the real lap timer, tick by tick: the timer sees the
// car on the start line or far from it, the aids see it move along `drive`,
// which starts on the line.
// References: the plain class a slower lap of the same circle, the turbo class
// a faster one, so the delta's sign tells which was taken.
struct TimedLap {
  GameState state;
  LapPath drive = circleLap(0.85, 800);
  size_t at = 0;  // the next point of `drive`
  std::vector<double> deltas;

  TimedLap() {
    LapPath plain = circleLap(0.8, 800), turbo = circleLap(0.9, 800);
    setTimingReference(state.timing, LapClass::Plain, plain, plain.times.back());
    setTimingReference(state.timing, LapClass::Turbo, turbo, turbo.times.back());
    computeStartLine(state);
  }
  LapEvent tick(bool onLine, bool turbo) {
    if (onLine) at = 0;  // the drive starts on the line
    LapEvent lap = timeLap(state, onLine ? Vec3(0.0, 0.5, 0.0) : Vec3(0.0, 0.5, 350.0), turbo);
    const Vec3& to = drive.points[at];
    timingTick(state.timing, lap, state, at > 0 ? drive.points[at - 1] : to, to);
    at = (at + 1) % drive.points.size();
    deltas.push_back(state.timing.delta);
    return lap;
  }
};

}  // namespace

TEST(TimingAids, EachLapTakesTheReferenceOfItsClassFromItsFirstTick) {
  for (bool turbo : {false, true}) {
    TimedLap lap;
    lap.tick(false, turbo);
    EXPECT_TRUE(std::isnan(lap.state.timing.delta));  // before the first touch
    lap.deltas.clear();
    ASSERT_TRUE(lap.tick(true, turbo).started);
    for (int t = 1; t < 600; ++t) lap.tick(false, turbo);
    for (size_t t = 0; t < lap.deltas.size(); ++t) {
      // The car at 0.85 m a tick is ahead of the plain reference, behind the turbo one.
      ASSERT_FALSE(std::isnan(lap.deltas[t])) << (turbo ? "turbo" : "plain") << " tick " << t;
      if (t > 100) {
        ASSERT_EQ(lap.deltas[t] > 0.0, turbo) << (turbo ? "turbo" : "plain") << " tick " << t;
      }
    }
  }
}

TEST(TimingAids, TheTurboSwitchedOnMidLapBlanksTheDeltaAndTheLapEndsAgainstItsReference) {
  TimedLap lap;
  lap.tick(true, false);
  for (int t = 1; t < 300; ++t) lap.tick(false, false);
  EXPECT_FALSE(std::isnan(lap.state.timing.delta));
  lap.tick(false, true);  // a plain lap becomes a turbo lap: no reference fits
  EXPECT_TRUE(std::isnan(lap.state.timing.delta));
  for (int t = 0; t < 100; ++t) lap.tick(false, false);
  EXPECT_TRUE(std::isnan(lap.state.timing.delta));
  LapEvent end = lap.tick(true, true);  // the next lap starts in the turbo class
  ASSERT_TRUE(end.completed);
  EXPECT_EQ(end.lapClass, LapClass::Turbo);
  EXPECT_TRUE(std::isnan(lap.state.timing.lapDelta));  // the completed lap had no reference
  EXPECT_FALSE(std::isnan(lap.state.timing.delta));

  // A whole lap in its class ends against that class's reference time.
  TimedLap plain;
  plain.tick(true, false);
  for (int t = 1; t < 500; ++t) plain.tick(false, false);
  end = plain.tick(true, false);
  ASSERT_TRUE(end.completed);
  EXPECT_EQ(end.lapTicks, 500u);
  EXPECT_FLOAT_EQ(plain.state.timing.lapDelta, end.lapTime - circleLap(0.8, 800).times.back());
}
