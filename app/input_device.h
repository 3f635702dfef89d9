#pragma once

#include <cstdint>

// One controller reading: axes in -1000..1000, bit 7 of a button byte = down.
// A pad also reports how far its throttle and brake triggers are pulled
// (0..1000); a plain joystick leaves them at 0.
struct ControllerState {
  int x = 0, y = 0, z = 0;
  uint8_t buttons[6] = {0, 0, 0, 0, 0, 0};
  int throttleTrigger = 0, brakeTrigger = 0;
};

// Where the key states come from: the SDL keyboard and controller in the game,
// a script in tests and the headless runner.
class InputSource {
 public:
  virtual ~InputSource() = default;
  // Fills the 256 DirectInput-numbered key bytes; false when the keyboard is lost.
  virtual bool readKeyboard(uint8_t keys[256]) = 0;
  // Takes a controller attached since the last call when none is open.
  virtual void findController() {}
  virtual bool hasController() const = 0;
  // True once a new controller reading is waiting; takeController() hands it over
  // (false when the read failed) and lets the next poll begin.
  virtual bool controllerReady() = 0;
  virtual bool takeController(ControllerState& out) = 0;
  // Runs the controller's rumble (and force effect) for `holdMs` at the
  // strength of a force-feedback value; a value of 0 stops it.
  virtual void rumble(float /*value*/, uint32_t /*holdMs*/) {}
};

// Keyboard scan codes (DirectInput numbering) and controller codes 256-265 in one
// table of key states, plus three smoothed analog axes. With rumble on, the
// car's force feedback shakes the controller.
class InputDevice {
 public:
  explicit InputDevice(InputSource* source);

  // Takes over the newest keyboard and controller state and refreshes the
  // rumble from the previous tick's force feedback; once per tick.
  void update();
  bool isDown(int code) const;
  bool isAnalog() const { return analog; }
  void setAnalog(bool on) { analog = on; }
  float axis(int n) const;
  // The car's force feedback of this tick (-1..1); it rumbles only while
  // rumble is on and the car is driven: a tick without a value (menu shown,
  // game paused) stops the motors.
  void forceFeedback(float value);

  InputSource* source;
  uint8_t keys[256];
  uint8_t joystickKeys[10];
  float axes[3];
  bool analog;

  // Rumble switch (F key, --rumble) and the feedback awaiting the next update.
  bool rumble = false;
  bool rumbleKeyWasDown = false;
  float feedback = 0.0f;
  bool feedbackFresh = false;
  bool rumbling = false;
  int ticksSinceRumble = 0;

 private:
  void readController();
  void driveRumble();
};
