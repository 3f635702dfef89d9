#pragma once

#include "game/tick.h"

#include <cstdint>
#include <string>

class PhCar;
struct GameState;

// What the command line asks of the OutGauge telemetry.
struct OutGaugeSettings {
  std::string address;  // HOST:PORT; empty for no telemetry
  bool sendId = false;  // the 96-byte packet with its trailing ID
  int32_t id = 0;
  double rate = kTicksPerSecond;  // packets a second, at most one a simulation tick
};

// Opens the feed for the run. A malformed or unresolvable address prints one
// line on stderr, starting with `program`, and leaves the feed off: the run
// goes on without telemetry. False then, and when no address was given.
bool startOutGauge(const OutGaugeSettings& settings, const char* program);

// After every driving tick: sends the car's packet when one is due. The first
// send that fails prints one line on stderr and turns the feed off.
void outGaugeTick(const PhCar& car, const GameState& state);

// Closes the feed; nothing is sent after this.
void stopOutGauge();
