#include "game/outgauge_packet.h"

#include "app/input_device.h"
#include "game/game_state.h"
#include "game/time_display.h"
#include "vehicle/car.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

constexpr long long kMsPerThreeTicks = 40;  // 1000 ms / 75 ticks = 40 / 3

bool handbrakeHeld(const PhCar& car) {
  return car.input != nullptr && (car.input->isDown(kKeyHandbrake) || car.input->isDown(kPadHandbrake));
}

void putText(char (&field)[16], float seconds) {
  std::snprintf(field, sizeof(field), "%s", lapTimeText(seconds).c_str());
}

}  // namespace

OutGaugePacket buildOutGaugePacket(const PhCar& car, const GameState& state, uint32_t timeMs, int32_t id) {
  OutGaugePacket p;
  std::memset(&p, 0, sizeof(p));
  p.Time = timeMs;
  std::memcpy(p.Car, "STRV", sizeof(p.Car));
  p.Flags = kOutGaugeFlagKm | (car.turbo ? kOutGaugeFlagTurbo : 0);
  // The car's gear index is 0 for reverse and 1.. forward; neutral has no index.
  p.Gear = uint8_t(car.gear <= 0 ? 0 : car.gear + 1);
  p.PLID = 0;
  p.Speed = float(length(car.current.velocity) * double(kTicksPerSecond));
  p.RPM = car.rpmAverage;
  // Boost builds up whether or not the turbo is switched on; only with it on
  // does it reach the engine.
  p.Turbo = car.turbo ? car.boost * kOutGaugeBarPerBoost : 0.0f;
  p.EngTemp = 0.0f;
  p.Fuel = 1.0f;
  p.OilPressure = 0.0f;
  p.OilTemp = 0.0f;
  p.DashLights = kOutGaugeLightShift | kOutGaugeLightHandbrake;
  p.ShowLights = (car.rpmAverage >= kOutGaugeShiftLightRpm ? kOutGaugeLightShift : 0) |
                 (handbrakeHeld(car) ? kOutGaugeLightHandbrake : 0);
  p.Throttle = car.throttle;
  p.Brake = car.footBrake;
  p.Clutch = car.clutch;
  putText(p.Display1, state.lapTime);
  putText(p.Display2, state.bestShown);
  p.ID = id;
  return p;
}

bool OutGaugeClock::tick() {
  long long before = ticks++;
  return std::floor(double(ticks) * rate / double(kTicksPerSecond)) >
         std::floor(double(before) * rate / double(kTicksPerSecond));
}

uint32_t OutGaugeClock::timeMs() const { return uint32_t(ticks * kMsPerThreeTicks / 3); }
