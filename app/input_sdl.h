#pragma once

#include "app/input_device.h"

#include <cstdint>

// The DirectInput scan code (1..0xED) of an SDL scan code; 0 for a key that a
// standard keyboard does not have.
uint8_t directInputCode(int sdlScancode);

// The keyboard of the SDL window and the first attached controller. A pad
// that SDL's game-controller layer recognises (its own mappings, the
// SDL_GAMECONTROLLERCONFIG variable, gamecontrollerdb.txt in the working
// folder) is read through its mapping; any other joystick by its raw axes
// 0-2 and buttons 0-5. The controller is polled every 10 ms on a thread of its
// own; the keyboard state is the one SDL keeps from the main thread's event
// pumping.
class SdlInput : public InputSource {
 public:
  // Opens the first controller that opens and starts its polling thread; with
  // none attached there is no thread and codes 256-265 stay up.
  SdlInput();
  // Stops the rumble and the polling thread before the controller is closed.
  ~SdlInput() override;
  SdlInput(const SdlInput&) = delete;
  SdlInput& operator=(const SdlInput&) = delete;

  // False while no window of ours has the keyboard focus.
  bool readKeyboard(uint8_t keys[256]) override;
  // With no controller open, takes the first one attached (hot-plug).
  void findController() override;
  bool hasController() const override;
  bool controllerReady() override;
  // False when the controller was pulled out: it is closed at once and taken
  // again by findController when it comes back.
  bool takeController(ControllerState& out) override;
  // The pad's motors (and a force effect where the device has one).
  void rumble(float value, uint32_t holdMs) override;

 private:
  struct State;
  State* state;
};
