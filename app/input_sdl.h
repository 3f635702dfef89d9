#pragma once

#include "app/input_device.h"

#include <cstdint>

// The DirectInput scan code (1..0xED) of an SDL scan code; 0 for a key that a
// standard keyboard does not have.
uint8_t directInputCode(int sdlScancode);

// The keyboard of the SDL window and the first attached joystick. The
// joystick is polled every 10 ms on a thread of its own; the keyboard state is
// the one SDL keeps from the main thread's event pumping.
class SdlInput : public InputSource {
 public:
  // Opens the first joystick that opens and starts its polling thread; with
  // none attached there is no thread and codes 256-265 stay up.
  SdlInput();
  // Stops the polling thread before the joystick is closed.
  ~SdlInput() override;
  SdlInput(const SdlInput&) = delete;
  SdlInput& operator=(const SdlInput&) = delete;

  // False while no window of ours has the keyboard focus.
  bool readKeyboard(uint8_t keys[256]) override;
  bool hasController() const override;
  bool controllerReady() override;
  bool takeController(ControllerState& out) override;

 private:
  struct State;
  State* state;
};
