#pragma once

#include <cstdint>

// One controller reading: axes in -1000..1000, bit 7 of a button byte = down.
struct ControllerState {
  int x = 0, y = 0, z = 0;
  uint8_t buttons[6] = {0, 0, 0, 0, 0, 0};
};

// Where the key states come from: the SDL keyboard and controller in the game,
// a script in tests and the headless runner.
class InputSource {
 public:
  virtual ~InputSource() = default;
  // Fills the 256 DirectInput-numbered key bytes; false when the keyboard is lost.
  virtual bool readKeyboard(uint8_t keys[256]) = 0;
  virtual bool hasController() const = 0;
  // True once a new controller reading is waiting; takeController() hands it over
  // (false when the read failed) and lets the next poll begin.
  virtual bool controllerReady() = 0;
  virtual bool takeController(ControllerState& out) = 0;
};

// Keyboard scan codes (DirectInput numbering) and controller codes 256-265 in one
// table of key states, plus three smoothed analog axes.
class InputDevice {
 public:
  explicit InputDevice(InputSource* source);

  // Takes over the newest keyboard and controller state; once per tick.
  void update();
  bool isDown(int code) const;
  bool isAnalog() const { return analog; }
  void setAnalog(bool on) { analog = on; }
  float axis(int n) const;
  void forceFeedback(float) {}

  InputSource* source;
  uint8_t keys[256];
  uint8_t joystickKeys[10];
  float axes[3];
  bool analog;
};
