#pragma once

#include "game/tick.h"

#include <cstddef>
#include <cstdint>

class PhCar;
struct GameState;

// The OutGauge packet that sim-racing dashboards and shift lights read over
// UDP: little-endian, no padding, 92 bytes, or 96 with the trailing `ID`.
// Every field sits on its natural alignment, so the struct's bytes are the
// packet's bytes on a little-endian machine.
struct OutGaugePacket {
  uint32_t Time;          // ms of simulated driving since the run began
  char Car[4];            // "STRV", not NUL-terminated
  uint16_t Flags;         // kOutGaugeFlag*
  uint8_t Gear;           // 0 reverse, 1 neutral, 2 first, ...
  uint8_t PLID;           // player id: 0
  float Speed;            // m/s
  float RPM;              // the rev counter's engine speed
  float Turbo;            // boost pressure, bar
  float EngTemp;          // the car has no gauges for these four: 0, 1, 0, 0
  float Fuel;
  float OilPressure;
  float OilTemp;
  uint32_t DashLights;    // lights the car has, kOutGaugeLight*
  uint32_t ShowLights;    // lights lit now
  float Throttle;         // 0..1
  float Brake;            // 0..1, the foot brake
  float Clutch;           // 0..1, the car's own value: 1 engaged, 0 open
  char Display1[16];      // running lap time as the HUD shows it, NUL-terminated
  char Display2[16];      // best time as the HUD shows it, NUL-terminated
  int32_t ID;             // sent only when an id was given
};

constexpr size_t kOutGaugeSize = 92;
constexpr size_t kOutGaugeSizeWithId = 96;
static_assert(sizeof(OutGaugePacket) == kOutGaugeSizeWithId, "OutGauge packet must be 96 bytes with its id");
static_assert(offsetof(OutGaugePacket, Speed) == 12, "OutGauge Speed must sit at byte 12");
static_assert(offsetof(OutGaugePacket, DashLights) == 40, "OutGauge DashLights must sit at byte 40");
static_assert(offsetof(OutGaugePacket, Display1) == 60, "OutGauge Display1 must sit at byte 60");
static_assert(offsetof(OutGaugePacket, ID) == kOutGaugeSize, "OutGauge ID must follow the 92-byte body");
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "OutGauge packets are sent as the struct's bytes");

constexpr uint16_t kOutGaugeFlagTurbo = 1u << 13;
constexpr uint16_t kOutGaugeFlagKm = 1u << 14;  // the dashboard should show km/h
constexpr uint32_t kOutGaugeLightShift = 1u << 0;
constexpr uint32_t kOutGaugeLightHandbrake = 1u << 2;

// Engine speed from which the shift light is lit: the rev counter's red marks.
constexpr float kOutGaugeShiftLightRpm = 7000.0f;
// Boost is 0..20 in the car's own units; full boost doubles the engine's torque,
// which is what one bar over the atmosphere would do: 20 reads 1.0 bar.
constexpr float kOutGaugeBarPerBoost = 0.05f;

// The packet for the car as it stands after a tick, with the lap times shown
// on the HUD. `timeMs` goes into Time, `id` into ID (sent or not by the caller).
OutGaugePacket buildOutGaugePacket(const PhCar& car, const GameState& state, uint32_t timeMs, int32_t id);

// Paces the packets: one per simulation tick at 75 Hz, fewer at a lower rate,
// and keeps the run's clock in whole milliseconds.
struct OutGaugeClock {
  double rate = kTicksPerSecond;  // packets a second, at most one a tick
  long long ticks = 0;  // driving ticks so far

  // Counts one driving tick; true when a packet is due for it.
  bool tick();
  // Milliseconds of driving so far, cut to whole ones: 13 or 14 a tick.
  uint32_t timeMs() const;
};
