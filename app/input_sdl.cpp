#include "app/input_sdl.h"

#include "app/files.h"
#include "app/rumble.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

struct KeyMap {
  SDL_Scancode sdl;
  uint8_t dik;
};

// A standard keyboard in DirectInput numbering, including the keypad, the
// media and web keys and the keys of international layouts.
const KeyMap kKeyMap[] = {
    {SDL_SCANCODE_ESCAPE, 0x01}, {SDL_SCANCODE_1, 0x02}, {SDL_SCANCODE_2, 0x03},
    {SDL_SCANCODE_3, 0x04}, {SDL_SCANCODE_4, 0x05}, {SDL_SCANCODE_5, 0x06},
    {SDL_SCANCODE_6, 0x07}, {SDL_SCANCODE_7, 0x08}, {SDL_SCANCODE_8, 0x09},
    {SDL_SCANCODE_9, 0x0A}, {SDL_SCANCODE_0, 0x0B}, {SDL_SCANCODE_MINUS, 0x0C},
    {SDL_SCANCODE_EQUALS, 0x0D}, {SDL_SCANCODE_BACKSPACE, 0x0E}, {SDL_SCANCODE_TAB, 0x0F},
    {SDL_SCANCODE_Q, 0x10}, {SDL_SCANCODE_W, 0x11}, {SDL_SCANCODE_E, 0x12},
    {SDL_SCANCODE_R, 0x13}, {SDL_SCANCODE_T, 0x14}, {SDL_SCANCODE_Y, 0x15},
    {SDL_SCANCODE_U, 0x16}, {SDL_SCANCODE_I, 0x17}, {SDL_SCANCODE_O, 0x18},
    {SDL_SCANCODE_P, 0x19}, {SDL_SCANCODE_LEFTBRACKET, 0x1A},
    {SDL_SCANCODE_RIGHTBRACKET, 0x1B}, {SDL_SCANCODE_RETURN, 0x1C},
    {SDL_SCANCODE_LCTRL, 0x1D}, {SDL_SCANCODE_A, 0x1E}, {SDL_SCANCODE_S, 0x1F},
    {SDL_SCANCODE_D, 0x20}, {SDL_SCANCODE_F, 0x21}, {SDL_SCANCODE_G, 0x22},
    {SDL_SCANCODE_H, 0x23}, {SDL_SCANCODE_J, 0x24}, {SDL_SCANCODE_K, 0x25},
    {SDL_SCANCODE_L, 0x26}, {SDL_SCANCODE_SEMICOLON, 0x27},
    {SDL_SCANCODE_APOSTROPHE, 0x28}, {SDL_SCANCODE_GRAVE, 0x29},
    {SDL_SCANCODE_LSHIFT, 0x2A}, {SDL_SCANCODE_BACKSLASH, 0x2B},
    {SDL_SCANCODE_Z, 0x2C}, {SDL_SCANCODE_X, 0x2D}, {SDL_SCANCODE_C, 0x2E},
    {SDL_SCANCODE_V, 0x2F}, {SDL_SCANCODE_B, 0x30}, {SDL_SCANCODE_N, 0x31},
    {SDL_SCANCODE_M, 0x32}, {SDL_SCANCODE_COMMA, 0x33}, {SDL_SCANCODE_PERIOD, 0x34},
    {SDL_SCANCODE_SLASH, 0x35}, {SDL_SCANCODE_RSHIFT, 0x36},
    {SDL_SCANCODE_KP_MULTIPLY, 0x37}, {SDL_SCANCODE_LALT, 0x38},
    {SDL_SCANCODE_SPACE, 0x39}, {SDL_SCANCODE_CAPSLOCK, 0x3A},
    {SDL_SCANCODE_F1, 0x3B}, {SDL_SCANCODE_F2, 0x3C}, {SDL_SCANCODE_F3, 0x3D},
    {SDL_SCANCODE_F4, 0x3E}, {SDL_SCANCODE_F5, 0x3F}, {SDL_SCANCODE_F6, 0x40},
    {SDL_SCANCODE_F7, 0x41}, {SDL_SCANCODE_F8, 0x42}, {SDL_SCANCODE_F9, 0x43},
    {SDL_SCANCODE_F10, 0x44}, {SDL_SCANCODE_NUMLOCKCLEAR, 0x45},
    {SDL_SCANCODE_SCROLLLOCK, 0x46}, {SDL_SCANCODE_KP_7, 0x47}, {SDL_SCANCODE_KP_8, 0x48},
    {SDL_SCANCODE_KP_9, 0x49}, {SDL_SCANCODE_KP_MINUS, 0x4A}, {SDL_SCANCODE_KP_4, 0x4B},
    {SDL_SCANCODE_KP_5, 0x4C}, {SDL_SCANCODE_KP_6, 0x4D}, {SDL_SCANCODE_KP_PLUS, 0x4E},
    {SDL_SCANCODE_KP_1, 0x4F}, {SDL_SCANCODE_KP_2, 0x50}, {SDL_SCANCODE_KP_3, 0x51},
    {SDL_SCANCODE_KP_0, 0x52}, {SDL_SCANCODE_KP_PERIOD, 0x53},
    {SDL_SCANCODE_NONUSBACKSLASH, 0x56}, {SDL_SCANCODE_F11, 0x57},
    {SDL_SCANCODE_F12, 0x58}, {SDL_SCANCODE_F13, 0x64}, {SDL_SCANCODE_F14, 0x65},
    {SDL_SCANCODE_F15, 0x66}, {SDL_SCANCODE_INTERNATIONAL2, 0x70},
    {SDL_SCANCODE_INTERNATIONAL1, 0x73}, {SDL_SCANCODE_INTERNATIONAL4, 0x79},
    {SDL_SCANCODE_INTERNATIONAL5, 0x7B}, {SDL_SCANCODE_INTERNATIONAL3, 0x7D},
    {SDL_SCANCODE_KP_COMMA, 0x7E}, {SDL_SCANCODE_KP_EQUALS, 0x8D},
    {SDL_SCANCODE_AUDIOPREV, 0x90}, {SDL_SCANCODE_AUDIONEXT, 0x99},
    {SDL_SCANCODE_KP_ENTER, 0x9C}, {SDL_SCANCODE_RCTRL, 0x9D},
    {SDL_SCANCODE_AUDIOMUTE, 0xA0}, {SDL_SCANCODE_CALCULATOR, 0xA1},
    {SDL_SCANCODE_AUDIOPLAY, 0xA2}, {SDL_SCANCODE_AUDIOSTOP, 0xA4},
    {SDL_SCANCODE_VOLUMEDOWN, 0xAE}, {SDL_SCANCODE_VOLUMEUP, 0xB0},
    {SDL_SCANCODE_AC_HOME, 0xB2}, {SDL_SCANCODE_KP_DIVIDE, 0xB5},
    {SDL_SCANCODE_PRINTSCREEN, 0xB7}, {SDL_SCANCODE_RALT, 0xB8},
    {SDL_SCANCODE_PAUSE, 0xC5}, {SDL_SCANCODE_HOME, 0xC7}, {SDL_SCANCODE_UP, 0xC8},
    {SDL_SCANCODE_PAGEUP, 0xC9}, {SDL_SCANCODE_LEFT, 0xCB}, {SDL_SCANCODE_RIGHT, 0xCD},
    {SDL_SCANCODE_END, 0xCF}, {SDL_SCANCODE_DOWN, 0xD0}, {SDL_SCANCODE_PAGEDOWN, 0xD1},
    {SDL_SCANCODE_INSERT, 0xD2}, {SDL_SCANCODE_DELETE, 0xD3}, {SDL_SCANCODE_LGUI, 0xDB},
    {SDL_SCANCODE_RGUI, 0xDC}, {SDL_SCANCODE_APPLICATION, 0xDD},
    {SDL_SCANCODE_POWER, 0xDE}, {SDL_SCANCODE_SLEEP, 0xDF},
    {SDL_SCANCODE_AC_SEARCH, 0xE5}, {SDL_SCANCODE_AC_BOOKMARKS, 0xE6},
    {SDL_SCANCODE_AC_REFRESH, 0xE7}, {SDL_SCANCODE_AC_STOP, 0xE8},
    {SDL_SCANCODE_AC_FORWARD, 0xE9}, {SDL_SCANCODE_AC_BACK, 0xEA},
    {SDL_SCANCODE_COMPUTER, 0xEB}, {SDL_SCANCODE_MAIL, 0xEC},
    {SDL_SCANCODE_MEDIASELECT, 0xED},
};

// Polling period of the controller thread, and the shutdown wait step.
constexpr auto kPollPeriod = std::chrono::milliseconds(10);
constexpr auto kStopWait = std::chrono::milliseconds(5);

// The community mapping file, taken from the working folder when present.
const char kMappingFile[] = "gamecontrollerdb.txt";

// Pad buttons onto the controller buttons 0-5 the car reads: 0 brake, 1 (no
// driving action), 2 throttle, 3 handbrake, 4 shift down, 5 shift up.
const SDL_GameControllerButton kPadButtons[6] = {
    SDL_CONTROLLER_BUTTON_X, SDL_CONTROLLER_BUTTON_Y,            SDL_CONTROLLER_BUTTON_A,
    SDL_CONTROLLER_BUTTON_B, SDL_CONTROLLER_BUTTON_LEFTSHOULDER, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER};

// SDL axis readings run -32768..32767; the game expects -1000..1000.
int scaleAxis(Sint16 raw) {
  return std::clamp(int(raw) * 1000 / 32767, -1000, 1000);
}

// A trigger reads 0..32767; the game expects 0..1000.
int scaleTrigger(Sint16 raw) {
  return std::clamp(int(raw) * 1000 / 32767, 0, 1000);
}

}  // namespace

uint8_t directInputCode(int sdlScancode) {
  for (const KeyMap& k : kKeyMap)
    if (k.sdl == sdlScancode) return k.dik;
  return 0;
}

struct SdlInput::State {
  // SDL scan code -> DirectInput code, built once.
  uint8_t dikOf[SDL_NUM_SCANCODES] = {};

  bool joystickSupport = false;  // the game-controller subsystem started for us
  bool hapticSupport = false;
  // The controller: a recognised pad (and its joystick) or a raw joystick.
  SDL_GameController* pad = nullptr;
  SDL_Joystick* joystick = nullptr;
  // A constant force (steering wheels and force-feedback sticks), when the
  // device has one; the main thread alone drives it.
  SDL_Haptic* haptic = nullptr;
  int forceEffect = -1;

  std::thread poller;
  // Hand-over: the thread polls only while pollDone is clear, then sets it;
  // the main thread reads `polled` only while it is set, then clears it.
  std::atomic<bool> stopPolling{false};
  std::atomic<bool> pollDone{false};
  ControllerState polled;
  bool pollOk = false;

  void poll() {
    SDL_JoystickUpdate();
    pollOk = SDL_JoystickGetAttached(joystick) == SDL_TRUE;
    if (!pollOk) return;
    if (pad != nullptr) {
      pollPad();
    } else {
      pollRaw();
    }
  }

  // Left stick (or the d-pad, as a full deflection) steers; the right trigger
  // pushes forward and the left one back, as a pedal axis the car reads.
  void pollPad() {
    polled.x = scaleAxis(SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX));
    if (SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_DPAD_LEFT)) polled.x = -1000;
    if (SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_DPAD_RIGHT)) polled.x = 1000;
    polled.throttleTrigger = scaleTrigger(SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERRIGHT));
    polled.brakeTrigger = scaleTrigger(SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERLEFT));
    polled.y = polled.brakeTrigger - polled.throttleTrigger;
    polled.z = scaleAxis(SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_RIGHTX));
    for (int b = 0; b < 6; ++b) polled.buttons[b] = SDL_GameControllerGetButton(pad, kPadButtons[b]) ? 0x80 : 0;
  }

  void pollRaw() {
    int axes = SDL_JoystickNumAxes(joystick);
    polled.x = axes > 0 ? scaleAxis(SDL_JoystickGetAxis(joystick, 0)) : 0;
    polled.y = axes > 1 ? scaleAxis(SDL_JoystickGetAxis(joystick, 1)) : 0;
    polled.z = axes > 2 ? scaleAxis(SDL_JoystickGetAxis(joystick, 2)) : 0;
    int buttons = SDL_JoystickNumButtons(joystick);
    for (int b = 0; b < 6; ++b)
      polled.buttons[b] = b < buttons && SDL_JoystickGetButton(joystick, b) ? 0x80 : 0;
  }

  void pollLoop() {
    while (!stopPolling.load()) {
      std::this_thread::sleep_for(kPollPeriod);
      if (pollDone.load()) continue;
      poll();
      pollDone.store(true);
    }
    pollDone.store(true);
  }

  // The first attached device that opens, as a pad when SDL knows it as one;
  // then its force effect and its polling thread.
  void open() {
    int count = SDL_NumJoysticks();
    for (int i = 0; i < count && joystick == nullptr; ++i) {
      if (SDL_IsGameController(i)) {
        pad = SDL_GameControllerOpen(i);
        if (pad != nullptr) joystick = SDL_GameControllerGetJoystick(pad);
      } else {
        joystick = SDL_JoystickOpen(i);
      }
    }
    if (joystick == nullptr) return;
    std::fprintf(stderr, "Main: controller %s (%s)\n", SDL_JoystickName(joystick),
                 pad != nullptr ? "pad" : "joystick");
    if (hapticSupport) openForceEffect();
    polled = ControllerState();
    pollOk = false;
    stopPolling.store(false);
    pollDone.store(false);
    poller = std::thread([this] { pollLoop(); });
  }

  void openForceEffect() {
    if (SDL_JoystickIsHaptic(joystick) != 1) return;
    haptic = SDL_HapticOpenFromJoystick(joystick);
    if (haptic == nullptr) return;
    if ((SDL_HapticQuery(haptic) & SDL_HAPTIC_CONSTANT) != 0) {
      SDL_HapticEffect effect = forceEffectAt(0.0f, 0);
      forceEffect = SDL_HapticNewEffect(haptic, &effect);
    }
    if (forceEffect < 0) {
      SDL_HapticClose(haptic);
      haptic = nullptr;
    }
  }

  // A constant force along the steering axis: negative pushes one way,
  // positive the other.
  static SDL_HapticEffect forceEffectAt(float value, uint32_t holdMs) {
    SDL_HapticEffect effect;
    std::memset(&effect, 0, sizeof(effect));
    effect.type = SDL_HAPTIC_CONSTANT;
    effect.constant.direction.type = SDL_HAPTIC_STEERING_AXIS;
    effect.constant.length = holdMs;
    effect.constant.level = rumbleForceLevel(value);
    return effect;
  }

  void rumble(float value, uint32_t holdMs) {
    if (joystick == nullptr) return;
    RumbleMotors m = rumbleMotors(value);
    SDL_JoystickRumble(joystick, m.left, m.right, holdMs);
    if (haptic == nullptr) return;
    if (holdMs == 0) {
      SDL_HapticStopEffect(haptic, forceEffect);
      return;
    }
    SDL_HapticEffect effect = forceEffectAt(value, holdMs);
    if (SDL_HapticUpdateEffect(haptic, forceEffect, &effect) == 0) SDL_HapticRunEffect(haptic, forceEffect, 1);
  }

  // Stops the thread before anything of the controller is released.
  void close() {
    if (joystick == nullptr) return;
    stopPolling.store(true);
    while (!pollDone.load()) std::this_thread::sleep_for(kStopWait);
    poller.join();
    // A device pulled out has nothing left to stop.
    if (SDL_JoystickGetAttached(joystick) == SDL_TRUE) rumble(0.0f, 0);
    if (haptic != nullptr) {
      SDL_HapticDestroyEffect(haptic, forceEffect);
      SDL_HapticClose(haptic);
      haptic = nullptr;
      forceEffect = -1;
    }
    if (pad != nullptr) {
      SDL_GameControllerClose(pad);
    } else {
      SDL_JoystickClose(joystick);
    }
    pad = nullptr;
    joystick = nullptr;
  }
};

SdlInput::SdlInput() : state(new State) {
  for (const KeyMap& k : kKeyMap) state->dikOf[k.sdl] = k.dik;

  // The controller is no part of the log: its notes go to stderr.
  if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
    std::fprintf(stderr, "Main: no joystick support (%s)\n", SDL_GetError());
    return;
  }
  state->joystickSupport = true;
  state->hapticSupport = SDL_InitSubSystem(SDL_INIT_HAPTIC) == 0;
  // Mappings from SDL_GAMECONTROLLERCONFIG are read by SDL itself.
  std::vector<unsigned char> mappings;
  std::string why;
  if (readWholeFile(kMappingFile, kMaxTextFileBytes, mappings, why)) {
    SDL_RWops* file = SDL_RWFromConstMem(mappings.data(), int(mappings.size()));
    if (file == nullptr || SDL_GameControllerAddMappingsFromRW(file, 1) < 0)
      std::fprintf(stderr, "Main: %s not read (%s)\n", kMappingFile, SDL_GetError());
  } else if (pathExists(kMappingFile)) {
    std::fprintf(stderr, "Main: %s not read (%s)\n", kMappingFile, why.c_str());
  }
  state->open();
}

SdlInput::~SdlInput() {
  state->close();
  if (state->hapticSupport) SDL_QuitSubSystem(SDL_INIT_HAPTIC);
  if (state->joystickSupport) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
  delete state;
}

bool SdlInput::readKeyboard(uint8_t keys[256]) {
  std::memset(keys, 0, 256);
  if (SDL_GetKeyboardFocus() == nullptr) return false;
  int count = 0;
  const Uint8* down = SDL_GetKeyboardState(&count);
  count = std::min(count, int(SDL_NUM_SCANCODES));
  for (int sc = 0; sc < count; ++sc)
    if (down[sc] && state->dikOf[sc] != 0) keys[state->dikOf[sc]] = 0x80;
  return true;
}

void SdlInput::findController() {
  if (!state->joystickSupport || state->joystick != nullptr) return;
  // Without an open device nothing else looks for new ones.
  SDL_JoystickUpdate();
  state->open();
}

bool SdlInput::hasController() const { return state->joystick != nullptr; }

bool SdlInput::controllerReady() { return state->pollDone.load(); }

bool SdlInput::takeController(ControllerState& out) {
  out = state->polled;
  bool ok = state->pollOk;
  if (!ok) {
    state->close();
    return false;
  }
  state->pollDone.store(false);
  return true;
}

void SdlInput::rumble(float value, uint32_t holdMs) { state->rumble(value, holdMs); }
