#pragma once

#include "app/input_device.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// One line of an input script: at the start of tick `tick` (counted from 0),
// a key goes down or up, analog mode switches, or a controller axis moves.
struct InputEvent {
  enum Kind { kKey, kAnalog, kAxis };
  long long tick = 0;
  Kind kind = kKey;
  int code = 0;    // kKey: scan code; kAxis: axis 0 or 1
  int value = 0;   // kKey/kAnalog: 1 down/on, 0 up/off; kAxis: -1000..1000
};

// Parses a script: one event a line, `TICK KEY down|up` (KEY one of Up Down
// Left Right Space A S C), `TICK analog on|off` or `TICK axis0|axis1 VALUE`;
// `#` starts a comment. Events come out ordered by tick, lines of one tick in
// file order. On a malformed line returns false with its 1-based number in
// `badLine` and the reason in `why`.
bool parseInputScript(const uint8_t* data, size_t size, std::vector<InputEvent>& out,
                      int& badLine, std::string& why);

// DirectInput scan code of a script key name; -1 for an unknown name.
int scriptKeyCode(const std::string& name);

// An input source fed by a program: the keyboard and a centred controller
// whose state is set directly, with a fresh reading on every tick.
class ScriptedInput : public InputSource {
 public:
  bool readKeyboard(uint8_t out[256]) override;
  bool hasController() const override { return true; }
  bool controllerReady() override { return true; }
  bool takeController(ControllerState& out) override;

  void setKey(int code, bool down);
  void setAxis(int n, int value);

  uint8_t keys[256] = {};
  ControllerState controller;
};

// Plays a parsed script into a source and its device, one tick at a time.
struct ScriptPlayer {
  std::vector<InputEvent> events;
  size_t next = 0;

  // Applies every event of `tick`; ticks must be given in increasing order.
  void apply(long long tick, ScriptedInput& source, InputDevice& device);
};
