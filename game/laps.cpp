#include "game/laps.h"

#include "physics/contact.h"

#include <cmath>

namespace {

constexpr double kConeHeight = 0.25;

Vec3 conePosition(const GameState& state, float angleDegrees) {
  double a = double(angleDegrees * kDegToRad);
  return Vec3(state.startPosition.x + std::sin(a) * kStartLineHalfWidth, state.startPosition.y + kConeHeight,
              state.startPosition.z + std::cos(a) * kStartLineHalfWidth);
}

}  // namespace

void computeStartLine(GameState& state) {
  state.startLineA = conePosition(state, state.startHeading + 90.0f);
  state.startLineB = conePosition(state, state.startHeading - 90.0f);
}

LapEvent timeLap(GameState& state, const Vec3& position, bool turboOn) {
  LapEvent event;
  if (turboOn) state.turboUsedThisLap = true;
  LapClass running = lapClassOf(state.turboUsedThisLap);
  state.bestShown = bestOfClass(state.bestTimes, running);

  Vec3 onLine = closestPointOnSegment(state.startLineA, state.startLineB, position);
  double distance = length(position - onLine);
  if (distance < kLineTouchDistance && !state.lineLatched) {
    state.lineLatched = true;
    event.started = true;
    if (state.lapRunning) {
      state.lastLapTime = state.lapTime;
      event.completed = true;
      event.lapTime = state.lapTime;
      event.lapTicks = state.lapTicks;
      event.lapClass = running;
      event.newBest = offerLap(state.bestTimes, state.lapTime, running) == firstPlaceOf(running);
    }
    state.lapRunning = true;
    state.lapTime = 0.0f;
    state.lapTicks = 0;
    state.turboUsedThisLap = false;
  }
  if (distance > kLineRearmDistance) state.lineLatched = false;
  if (state.lapRunning) {
    state.lapTime += kTickSeconds;
    state.lapTicks += 1;
  }
  event.runningClass = lapClassOf(state.turboUsedThisLap || turboOn);
  return event;
}

void stopLap(GameState& state) {
  state.lapTime = 0.0f;
  state.lapTicks = 0;
  state.lapRunning = false;
  state.lineLatched = false;
}
