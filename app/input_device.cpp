#include "app/input_device.h"

#include "app/rumble.h"

#include <algorithm>
#include <cstring>

namespace {

// Controller codes 256-265 as indices into joystickKeys.
constexpr int kStickRight = 0;
constexpr int kStickLeft = 1;
constexpr int kStickBack = 2;
constexpr int kStickForward = 3;
constexpr int kFirstButton = 4;
constexpr int kButtonCount = 6;

// A stick reading beyond this (of -1000..1000) counts as a digital press.
constexpr int kStickThreshold = 500;

// Controller buttons as the car reads them: brake and throttle.
constexpr int kBrakeButton = 0;
constexpr int kThrottleButton = 2;
// A trigger pulled past this (of 0..1000) presses its button in digital mode.
constexpr int kTriggerThreshold = 500;

// The F key switches rumble on and off.
constexpr int kKeyToggleRumble = 0x21;

}  // namespace

InputDevice::InputDevice(InputSource* src) : source(src), analog(false) {
  std::memset(keys, 0, sizeof(keys));
  std::memset(joystickKeys, 0, sizeof(joystickKeys));
  std::fill(axes, axes + 3, 0.0f);
}

void InputDevice::update() {
  // A lost keyboard (window in the background) reads as every key up; the
  // source re-acquires it on its own.
  if (source == nullptr || !source->readKeyboard(keys)) std::memset(keys, 0, sizeof(keys));
  bool rumbleKey = (keys[kKeyToggleRumble] & 0x80) != 0;
  if (rumbleKey && !rumbleKeyWasDown) rumble = !rumble;
  rumbleKeyWasDown = rumbleKey;

  readController();
  driveRumble();
}

void InputDevice::readController() {
  if (source != nullptr) source->findController();
  if (source == nullptr || !source->hasController()) {
    // Axes of a controller that went away must not steer on.
    std::memset(joystickKeys, 0, sizeof(joystickKeys));
    std::fill(axes, axes + 3, 0.0f);
    return;
  }
  // Between polls the controller keys and axes keep their last values.
  if (!source->controllerReady()) return;

  ControllerState state;
  if (!source->takeController(state)) {
    std::memset(joystickKeys, 0, sizeof(joystickKeys));
    // A controller pulled out is gone at once, not on the next update.
    if (!source->hasController()) std::fill(axes, axes + 3, 0.0f);
    return;
  }

  if (analog) {
    // Steering closes 20% of its gap per tick but never more than 0.1, so a
    // full deflection takes five ticks to reach half lock; the pedal axes
    // close 10% of their gap per tick.
    axes[0] += std::clamp((float(state.x) * 0.001f - axes[0]) * 0.2f, -0.1f, 0.1f);
    axes[1] += (float(state.y) * 0.001f - axes[1]) * 0.1f;
    axes[2] += (float(state.z) * 0.001f - axes[2]) * 0.1f;
    joystickKeys[kStickRight] = 0;
    joystickKeys[kStickLeft] = 0;
    joystickKeys[kStickBack] = 0;
    joystickKeys[kStickForward] = 0;
  } else {
    joystickKeys[kStickRight] = state.x > kStickThreshold ? 1 : 0;
    joystickKeys[kStickLeft] = state.x < -kStickThreshold ? 1 : 0;
    joystickKeys[kStickBack] = state.y > kStickThreshold ? 1 : 0;
    joystickKeys[kStickForward] = state.y < -kStickThreshold ? 1 : 0;
  }
  for (int b = 0; b < kButtonCount; ++b)
    joystickKeys[kFirstButton + b] = (state.buttons[b] & 0x80) != 0 ? 1 : 0;
  // In analog mode the triggers are the pedal axis; in digital mode a pulled
  // trigger is the throttle or brake button, as a player expects of a pad.
  if (!analog) {
    if (state.throttleTrigger > kTriggerThreshold) joystickKeys[kFirstButton + kThrottleButton] = 1;
    if (state.brakeTrigger > kTriggerThreshold) joystickKeys[kFirstButton + kBrakeButton] = 1;
  }
}

void InputDevice::forceFeedback(float value) {
  feedback = value;
  feedbackFresh = true;
}

void InputDevice::driveRumble() {
  // The value of the tick before this one; none means the car stood still.
  float value = rumble && feedbackFresh ? feedback : 0.0f;
  feedbackFresh = false;
  if (source == nullptr || !source->hasController()) {
    rumbling = false;
    return;
  }
  RumbleMotors m = rumbleMotors(value);
  if (m.left == 0 && m.right == 0) {
    if (rumbling) source->rumble(0.0f, 0);
    rumbling = false;
    return;
  }
  ++ticksSinceRumble;
  if (rumbling && ticksSinceRumble < kRumbleRefreshTicks) return;
  source->rumble(value, kRumbleHoldMs);
  rumbling = true;
  ticksSinceRumble = 0;
}

bool InputDevice::isDown(int code) const {
  if (code >= 0 && code < 256) return (keys[code] & 0x80) != 0;
  if (code >= 256 && code < 266) return joystickKeys[code - 256] != 0;
  return false;
}

float InputDevice::axis(int n) const {
  if (n < 0 || n > 2) return 0.0f;
  return axes[n];
}
