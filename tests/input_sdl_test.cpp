#include "app/input_sdl.h"
#include "app/rumble.h"
#include "vehicle_test_track.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

TEST(SdlInput, EveryStandardKeyMapsToItsOwnCode) {
  std::set<int> seen;
  for (int sc = 0; sc < SDL_NUM_SCANCODES; ++sc) {
    int code = directInputCode(sc);
    if (code != 0) {
      EXPECT_TRUE(seen.insert(code).second) << "code " << code << " twice";
    }
  }
  // A full 104-key keyboard, and the keys whose numbering differs most.
  EXPECT_GE(seen.size(), 104u);
  for (int sc = SDL_SCANCODE_A; sc <= SDL_SCANCODE_Z; ++sc) EXPECT_NE(directInputCode(sc), 0);
  EXPECT_EQ(directInputCode(SDL_SCANCODE_UP), 0xC8);
  EXPECT_EQ(directInputCode(SDL_SCANCODE_KP_ENTER), 0x9C);
  EXPECT_EQ(directInputCode(SDL_SCANCODE_RCTRL), 0x9D);
  EXPECT_EQ(directInputCode(SDL_SCANCODE_UNKNOWN), 0);
}

TEST(SdlInput, WithoutJoystickOrWindowEveryCodeIsUp) {
  SdlInput source;
  if (source.hasController()) GTEST_SKIP() << "a joystick is attached";
  InputDevice dev(&source);
  dev.update();
  for (int code = 0; code < 266; ++code) EXPECT_FALSE(dev.isDown(code)) << code;
}

namespace {

constexpr int kWaitMs = 2000;
// Enough readings for the smoothed pedal axis to close all but 0.2% of its gap.
constexpr int kSettleReadings = 45;
constexpr float kSettledTol = 0.01f;

// Motor strengths the virtual device was told, from whichever thread told it.
struct RumbleLog {
  std::mutex lock;
  std::vector<std::pair<Uint16, Uint16>> calls;

  static int record(void* self, Uint16 low, Uint16 high) {
    RumbleLog* log = static_cast<RumbleLog*>(self);
    std::lock_guard<std::mutex> hold(log->lock);
    log->calls.push_back({low, high});
    return 0;
  }
  size_t size() {
    std::lock_guard<std::mutex> hold(lock);
    return calls.size();
  }
  std::pair<Uint16, Uint16> last() {
    std::lock_guard<std::mutex> hold(lock);
    return calls.empty() ? std::pair<Uint16, Uint16>{0, 0} : calls.back();
  }
};

// One of SDL's virtual joysticks standing in for hardware: a pad SDL maps
// itself, or a plain joystick it does not recognise.
struct VirtualDevice {
  SDL_JoystickID id = -1;
  SDL_Joystick* handle = nullptr;  // ours, to move its axes and buttons
  RumbleLog rumbles;

  bool attach(bool pad, const char* name = nullptr) {
    SDL_VirtualJoystickDesc desc;
    std::memset(&desc, 0, sizeof(desc));
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = pad ? SDL_JOYSTICK_TYPE_GAMECONTROLLER : SDL_JOYSTICK_TYPE_WHEEL;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.name = name != nullptr ? name : pad ? "virtual pad" : "virtual wheel";
    desc.userdata = &rumbles;
    desc.Rumble = RumbleLog::record;
    int index = SDL_JoystickAttachVirtualEx(&desc);
    if (index < 0) return false;
    id = SDL_JoystickGetDeviceInstanceID(index);
    handle = SDL_JoystickOpen(index);
    // Triggers rest at the bottom of their travel.
    if (pad) {
      setAxis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, -32768);
      setAxis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, -32768);
    }
    return handle != nullptr;
  }

  void detach() {
    if (handle == nullptr) return;
    SDL_JoystickClose(handle);
    handle = nullptr;
    for (int i = 0; i < SDL_NumJoysticks(); ++i)
      if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
  }
  ~VirtualDevice() { detach(); }

  void setAxis(int axis, int value) { SDL_JoystickSetVirtualAxis(handle, axis, Sint16(value)); }
  void setButton(int button, bool down) { SDL_JoystickSetVirtualButton(handle, button, down ? 1 : 0); }
};

class VirtualController : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0) << SDL_GetError();
    if (SDL_NumJoysticks() > 0) GTEST_SKIP() << "a real joystick is attached";
    source = std::make_unique<SdlInput>();
    dev = std::make_unique<InputDevice>(source.get());
  }
  void TearDown() override {
    dev.reset();
    source.reset();
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
  }

  // Attaches `device` after the input device exists; true once it is taken.
  bool plugIn(VirtualDevice& device, bool pad) {
    if (!device.attach(pad)) return false;
    dev->update();
    return source->hasController();
  }

  // Updates that each take a new controller reading.
  void takeReadings(int count) {
    for (int n = 0; n < count; ++n) {
      for (int ms = 0; ms < kWaitMs && !source->controllerReady(); ++ms) SDL_Delay(1);
      dev->update();
    }
  }
  // Readings taken only after the last change: the first may have been
  // polled before it, the next one never is.
  void takeFreshReading() { takeReadings(2); }
  // Long enough for the smoothed axes to settle on the new readings.
  void settle() { takeReadings(2 + kSettleReadings); }

  // The controller codes that are down.
  std::vector<int> codesDown() {
    std::vector<int> down;
    for (int code = 256; code < 266; ++code)
      if (dev->isDown(code)) down.push_back(code);
    return down;
  }

  std::unique_ptr<SdlInput> source;
  std::unique_ptr<InputDevice> dev;
};

const std::pair<Uint16, Uint16> kStill{0, 0};

}  // namespace

TEST_F(VirtualController, PadAttachedLaterIsTakenAndDrivesTheCarsCodes) {
  dev->update();
  ASSERT_FALSE(source->hasController());
  VirtualDevice pad;
  ASSERT_TRUE(plugIn(pad, true)) << SDL_GetError();

  struct Case {
    int button;
    int code;
  };
  const Case buttons[] = {{SDL_CONTROLLER_BUTTON_X, 260},           {SDL_CONTROLLER_BUTTON_Y, 261},
                          {SDL_CONTROLLER_BUTTON_A, 262},           {SDL_CONTROLLER_BUTTON_B, 263},
                          {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, 264}, {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, 265}};
  for (const Case& c : buttons) {
    pad.setButton(c.button, true);
    takeFreshReading();
    EXPECT_EQ(codesDown(), std::vector<int>{c.code});
    pad.setButton(c.button, false);
  }

  // Digital mode: the stick and the d-pad steer, the triggers are pedals.
  pad.setAxis(SDL_CONTROLLER_AXIS_LEFTX, 32767);
  pad.setAxis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
  takeFreshReading();
  EXPECT_EQ(codesDown(), (std::vector<int>{256, 259, 262}));
  pad.setAxis(SDL_CONTROLLER_AXIS_LEFTX, 0);
  pad.setAxis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, -32768);
  pad.setAxis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, 32767);
  pad.setButton(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
  takeFreshReading();
  EXPECT_EQ(codesDown(), (std::vector<int>{257, 258, 260}));
}

TEST_F(VirtualController, PadTriggersAreThePedalAxisInAnalogMode) {
  dev->setAnalog(true);
  VirtualDevice pad;
  ASSERT_TRUE(plugIn(pad, true)) << SDL_GetError();
  pad.setAxis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
  pad.setAxis(SDL_CONTROLLER_AXIS_LEFTX, -32768);
  settle();
  // Throttle is forward, which the car reads as a negative axis 1.
  EXPECT_NEAR(dev->axis(1), -1.0f, kSettledTol);
  EXPECT_NEAR(dev->axis(0), -1.0f, kSettledTol);
  // A pulled trigger is no button press in analog mode, and the stick no key.
  EXPECT_EQ(codesDown(), std::vector<int>{});

  pad.setAxis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, 32767);
  settle();
  EXPECT_NEAR(dev->axis(1), 0.0f, kSettledTol);
  pad.setAxis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, -32768);
  settle();
  EXPECT_NEAR(dev->axis(1), 1.0f, kSettledTol);
}

TEST_F(VirtualController, PulledOutPadClearsAtOnceAndIsTakenAgainWhenBack) {
  dev->setAnalog(true);
  VirtualDevice pad;
  ASSERT_TRUE(plugIn(pad, true)) << SDL_GetError();
  pad.setAxis(SDL_CONTROLLER_AXIS_LEFTX, 32767);
  pad.setButton(SDL_CONTROLLER_BUTTON_A, true);
  takeFreshReading();
  ASSERT_TRUE(dev->isDown(262));
  ASSERT_GT(dev->axis(0), 0.0f);
  // Pulled out while it rumbles.
  dev->rumble = true;
  dev->forceFeedback(1.0f);
  dev->update();
  ASSERT_EQ(pad.rumbles.last(), std::make_pair(Uint16(0), Uint16(65535)));

  pad.detach();
  for (int ms = 0; ms < kWaitMs && source->hasController(); ++ms) {
    SDL_Delay(1);
    dev->update();
  }
  ASSERT_FALSE(source->hasController());
  EXPECT_EQ(codesDown(), std::vector<int>{});
  EXPECT_EQ(dev->axis(0), 0.0f);
  EXPECT_FALSE(dev->rumbling);

  VirtualDevice back;
  back.attach(true);
  back.setButton(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, true);
  dev->update();
  ASSERT_TRUE(source->hasController());
  takeFreshReading();
  EXPECT_EQ(codesDown(), std::vector<int>{265});
}

TEST_F(VirtualController, PlainJoystickKeepsItsRawAxesAndButtons) {
  VirtualDevice wheel;
  ASSERT_TRUE(plugIn(wheel, false)) << SDL_GetError();
  wheel.setAxis(0, -32768);
  wheel.setAxis(1, 32767);
  wheel.setButton(2, true);
  wheel.setButton(5, true);
  wheel.setButton(6, true);
  takeFreshReading();
  EXPECT_EQ(codesDown(), (std::vector<int>{257, 258, 262, 265}));
}

TEST_F(VirtualController, RumbleFollowsTheCarsForceFeedbackInASlideAndStopsForMenuAndExit) {
  VirtualDevice pad;
  ASSERT_TRUE(plugIn(pad, true)) << SDL_GetError();
  TestTrack track;
  buildFlatTrack(track);
  track.car->input = dev.get();
  track.car->autoGearbox = true;
  // One tick as the game runs it: the input first, then the car's step.
  auto drive = [&](int ticks) {
    for (int t = 0; t < ticks; ++t) {
      dev->update();
      track.world.step();
    }
  };

  // Full throttle on the A button, rumble off: the pad stays still.
  pad.setButton(SDL_CONTROLLER_BUTTON_A, true);
  takeFreshReading();
  drive(300);
  EXPECT_EQ(pad.rumbles.size(), 0u);
  ASSERT_GT(length(track.car->current.velocity) * 270.0, 60.0) << "km/h before the slide";

  // Full lock and the handbrake throw the car into a slide, rumble on.
  pad.setAxis(SDL_CONTROLLER_AXIS_LEFTX, 32767);
  pad.setButton(SDL_CONTROLLER_BUTTON_B, true);
  takeFreshReading();
  dev->rumble = true;
  float sent = 0.0f;
  float strongest = 0.0f;
  int refreshes = 0;
  for (int t = 0; t < 150; ++t) {
    float previous = dev->feedback;
    dev->update();
    if (dev->rumbling && dev->ticksSinceRumble == 0) {
      ++refreshes;
      sent = previous;
    }
    RumbleMotors expected = rumbleMotors(dev->rumbling ? sent : 0.0f);
    EXPECT_EQ(pad.rumbles.last(), std::make_pair(expected.left, expected.right)) << "tick " << t;
    track.world.step();
    strongest = std::max(strongest, std::fabs(dev->feedback));
  }
  EXPECT_GT(strongest, 0.3f);
  EXPECT_GE(refreshes, 150 / kRumbleRefreshTicks - 10);
  EXPECT_GT(pad.rumbles.size(), 10u);

  // The menu: updates without steps.
  drive(10);
  ASSERT_TRUE(dev->rumbling);
  dev->update();
  dev->update();
  EXPECT_EQ(pad.rumbles.last(), kStill);

  // Exit while rumbling.
  drive(10);
  ASSERT_NE(pad.rumbles.last(), kStill);
  source.reset();
  EXPECT_EQ(pad.rumbles.last(), kStill);
}

TEST_F(VirtualController, MappingFileInTheWorkingFolderMakesAJoystickAPad) {
  // The joystick is there before the game starts, with a community mapping for it.
  // A name of its own: the mapping stays with SDL for the rest of the process.
  VirtualDevice wheel;
  ASSERT_TRUE(wheel.attach(false, "community wheel")) << SDL_GetError();
  char guid[33];
  SDL_JoystickGetGUIDString(SDL_JoystickGetGUID(wheel.handle), guid, sizeof(guid));
  // Written as the community file writes them, without the name's checksum.
  std::memset(guid + 4, '0', 4);
  char folder[] = "/tmp/stravo_pads_XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  std::string mappingFile = std::string(folder) + "/gamecontrollerdb.txt";
  {
    std::ofstream out(mappingFile);
    out << "# community mappings\n" << guid << ",mapped wheel,a:b3,x:b4,leftx:a0,platform:Linux,\n";
  }
  char previous[4096];
  ASSERT_NE(getcwd(previous, sizeof(previous)), nullptr);
  ASSERT_EQ(chdir(folder), 0);
  dev.reset();
  source = std::make_unique<SdlInput>();
  dev = std::make_unique<InputDevice>(source.get());
  EXPECT_EQ(chdir(previous), 0);
  std::remove(mappingFile.c_str());
  rmdir(folder);

  ASSERT_TRUE(source->hasController());
  wheel.setButton(3, true);
  wheel.setButton(5, true);
  wheel.setAxis(0, -32768);
  takeFreshReading();
  // Button 3 is the pad's A (throttle), button 5 is nothing the mapping names.
  EXPECT_EQ(codesDown(), (std::vector<int>{257, 262}));
}
