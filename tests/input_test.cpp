#include "app/input_device.h"
#include "app/rumble.h"
#include "app/scripted_input.h"

#include <gtest/gtest.h>

#include <cstring>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr float kAxisTol = 1e-6f;

// A source whose keyboard and controller can fail or lag like real devices.
struct FakeSource : InputSource {
  bool keyboardOk = true;
  bool controller = false;
  bool ready = true;
  bool readOk = true;
  uint8_t keyState[256] = {};
  ControllerState state;
  int takes = 0;

  bool readKeyboard(uint8_t out[256]) override {
    std::memcpy(out, keyState, 256);
    return keyboardOk;
  }
  bool hasController() const override { return controller; }
  bool controllerReady() override { return ready; }
  bool takeController(ControllerState& out) override {
    ++takes;
    out = state;
    return readOk;
  }
  void rumble(float value, uint32_t holdMs) override { rumbles.push_back({value, holdMs}); }

  std::vector<std::pair<float, uint32_t>> rumbles;
};

constexpr int kKeyF = 0x21;

std::vector<InputEvent> parseOk(const std::string& text) {
  std::vector<InputEvent> events;
  int line = -1;
  std::string why;
  EXPECT_TRUE(parseInputScript(reinterpret_cast<const uint8_t*>(text.data()), text.size(),
                               events, line, why))
      << why;
  return events;
}

int parseBadLine(const std::string& text) {
  std::vector<InputEvent> events;
  int line = 0;
  std::string why;
  EXPECT_FALSE(parseInputScript(reinterpret_cast<const uint8_t*>(text.data()), text.size(),
                                events, line, why))
      << text;
  EXPECT_FALSE(why.empty());
  return line;
}

}  // namespace

TEST(InputDevice, WithoutControllerTheControllerCodesStayUp) {
  FakeSource src;
  src.state.x = 1000;
  src.state.buttons[2] = 0x80;
  InputDevice dev(&src);
  dev.joystickKeys[6] = 1;
  dev.update();
  for (int code = 256; code < 266; ++code) EXPECT_FALSE(dev.isDown(code)) << code;
  EXPECT_EQ(src.takes, 0);
}

TEST(InputDevice, KeysFollowBitSevenAndReadUpWhileTheKeyboardIsLost) {
  FakeSource src;
  src.keyState[0xC8] = 0x80;
  src.keyState[0xD0] = 0x7F;
  InputDevice dev(&src);
  dev.update();
  ASSERT_TRUE(dev.isDown(0xC8));
  EXPECT_FALSE(dev.isDown(0xD0));
  EXPECT_FALSE(dev.isDown(266));
  src.keyboardOk = false;
  dev.update();
  EXPECT_FALSE(dev.isDown(0xC8));
  src.keyboardOk = true;
  dev.update();
  EXPECT_TRUE(dev.isDown(0xC8));
}

TEST(InputDevice, FullSteeringDeflectionRisesByTenthThenClosesFifthOfGap) {
  FakeSource src;
  src.controller = true;
  src.state.x = 1000;
  src.state.y = 1000;
  InputDevice dev(&src);
  dev.setAnalog(true);
  for (int t = 1; t <= 5; ++t) {
    dev.update();
    EXPECT_NEAR(dev.axis(0), 0.1f * t, kAxisTol) << "tick " << t;
  }
  dev.update();
  EXPECT_NEAR(dev.axis(0), 0.6f, kAxisTol);
  dev.update();
  EXPECT_NEAR(dev.axis(0), 0.68f, kAxisTol);
  // The forward/back axis closes a tenth of its gap every tick: 1 - 0.9^7.
  EXPECT_NEAR(dev.axis(1), 0.5217031f, kAxisTol);
}

TEST(InputDevice, AnalogModeClearsStickKeysAndDigitalModeKeepsAxes) {
  FakeSource src;
  src.controller = true;
  src.state.x = -800;
  src.state.y = 501;
  src.state.buttons[0] = 0x80;
  src.state.buttons[5] = 0x01;
  InputDevice dev(&src);
  dev.update();
  EXPECT_TRUE(dev.isDown(257));   // stick left
  EXPECT_TRUE(dev.isDown(258));   // stick back
  EXPECT_FALSE(dev.isDown(256));
  EXPECT_FALSE(dev.isDown(259));
  EXPECT_TRUE(dev.isDown(260));   // button 0
  EXPECT_FALSE(dev.isDown(265));  // button 5 without bit 7
  EXPECT_EQ(dev.axis(0), 0.0f);

  dev.setAnalog(true);
  dev.update();
  EXPECT_FALSE(dev.isDown(257));
  EXPECT_FALSE(dev.isDown(258));
  EXPECT_TRUE(dev.isDown(260));
  float held = dev.axis(0);
  EXPECT_NEAR(held, -0.1f, kAxisTol);

  dev.setAnalog(false);
  src.state.x = 0;
  dev.update();
  EXPECT_EQ(dev.axis(0), held);
}

TEST(InputDevice, ControllerKeysHoldBetweenPollsAndClearOnFailedRead) {
  FakeSource src;
  src.controller = true;
  src.state.buttons[2] = 0x80;
  InputDevice dev(&src);
  dev.update();
  ASSERT_TRUE(dev.isDown(262));
  src.ready = false;
  src.state.buttons[2] = 0;
  dev.update();
  EXPECT_TRUE(dev.isDown(262));
  EXPECT_EQ(src.takes, 1);
  src.ready = true;
  src.readOk = false;
  dev.update();
  EXPECT_FALSE(dev.isDown(262));
}

TEST(InputDevice, PulledTriggersPressThrottleAndBrakeOnlyInDigitalMode) {
  FakeSource src;
  src.controller = true;
  src.state.throttleTrigger = 501;
  src.state.brakeTrigger = 500;
  InputDevice dev(&src);
  dev.update();
  EXPECT_TRUE(dev.isDown(262));
  EXPECT_FALSE(dev.isDown(260));
  src.state.brakeTrigger = 1000;
  dev.update();
  EXPECT_TRUE(dev.isDown(260));
  dev.setAnalog(true);
  dev.update();
  EXPECT_FALSE(dev.isDown(262));
  EXPECT_FALSE(dev.isDown(260));
}

TEST(InputDevice, AControllerThatGoesAwayLeavesNoAxisBehind) {
  FakeSource src;
  src.controller = true;
  src.state.x = 1000;
  InputDevice dev(&src);
  dev.setAnalog(true);
  dev.update();
  ASSERT_GT(dev.axis(0), 0.0f);
  src.controller = false;
  dev.update();
  EXPECT_EQ(dev.axis(0), 0.0f);
}

TEST(Rumble, StrengthFollowsTheValuePastTheDeadZoneAndItsSignPicksTheMotor) {
  struct Case {
    float value;
    uint16_t left, right;
    int16_t force;
  };
  const Case cases[] = {
      {0.0f, 0, 0, 0},           {kRumbleDeadZone, 0, 0, 0}, {-0.525f, 32768, 0, -16384},
      {0.525f, 0, 32768, 16384}, {1.0f, 0, 65535, 32767},    {-1.0f, 65535, 0, -32767},
      {3.0f, 0, 65535, 32767},   {NAN, 0, 0, 0},
  };
  // Half strength may round either way by one step.
  constexpr int kStepTol = 1;
  for (const Case& c : cases) {
    RumbleMotors m = rumbleMotors(c.value);
    EXPECT_NEAR(m.left, c.left, kStepTol) << c.value;
    EXPECT_NEAR(m.right, c.right, kStepTol) << c.value;
    EXPECT_NEAR(rumbleForceLevel(c.value), c.force, kStepTol) << c.value;
  }
}

TEST(Rumble, FKeySwitchesItOnEachPress) {
  FakeSource src;
  InputDevice dev(&src);
  src.keyState[kKeyF] = 0x80;
  for (int t = 0; t < 5; ++t) dev.update();
  EXPECT_TRUE(dev.rumble);
  src.keyState[kKeyF] = 0;
  dev.update();
  src.keyState[kKeyF] = 0x80;
  dev.update();
  EXPECT_FALSE(dev.rumble);
}

TEST(Rumble, RefreshedEveryFewTicksWhileDrivenAndStoppedWhenTheCarStands) {
  FakeSource src;
  src.controller = true;
  InputDevice dev(&src);
  // Off: the car's value goes nowhere.
  for (int t = 0; t < 10; ++t) {
    dev.update();
    dev.forceFeedback(-0.5f);
  }
  EXPECT_TRUE(src.rumbles.empty());

  dev.rumble = true;
  std::vector<int> sentAt;
  for (int t = 0; t < 10; ++t) {
    size_t before = src.rumbles.size();
    dev.update();
    if (src.rumbles.size() > before) sentAt.push_back(t);
    dev.forceFeedback(-0.5f);
  }
  EXPECT_EQ(sentAt, (std::vector<int>{0, 3, 6, 9}));
  EXPECT_EQ(src.rumbles.back().first, -0.5f);
  EXPECT_EQ(src.rumbles.back().second, kRumbleHoldMs);

  // The menu: updates go on but the car is not stepped, so no value arrives.
  size_t before = src.rumbles.size();
  for (int t = 0; t < 5; ++t) dev.update();
  ASSERT_EQ(src.rumbles.size(), before + 1);
  EXPECT_EQ(src.rumbles.back().first, 0.0f);
  EXPECT_EQ(src.rumbles.back().second, 0u);

  // Switched off while driving: stopped at once.
  dev.forceFeedback(0.8f);
  dev.update();
  dev.rumble = false;
  dev.forceFeedback(0.8f);
  dev.update();
  EXPECT_EQ(src.rumbles.back().first, 0.0f);
}

TEST(InputScript, ParsesEventsSortedByTickWithComments) {
  std::vector<InputEvent> ev = parseOk(
      "# warm up\n"
      "\n"
      "  20 Up down   # throttle\r\n"
      "5 analog on\n"
      "20\taxis1 -1000\n"
      "7 axis0 +250\n"
      "30 C up");
  ASSERT_EQ(ev.size(), 5u);
  EXPECT_EQ(ev[0].kind, InputEvent::kAnalog);
  EXPECT_EQ(ev[1].tick, 7);
  EXPECT_EQ(ev[1].value, 250);
  EXPECT_EQ(ev[2].kind, InputEvent::kKey);
  EXPECT_EQ(ev[2].code, 0xC8);
  EXPECT_EQ(ev[3].kind, InputEvent::kAxis);
  EXPECT_EQ(ev[3].code, 1);
  EXPECT_EQ(ev[3].value, -1000);
  EXPECT_EQ(ev[4].code, 0x2E);
  EXPECT_EQ(ev[4].value, 0);
}

TEST(InputScript, MalformedLinesReportTheirLineNumber) {
  EXPECT_EQ(parseBadLine("1 Up down\n# c\n\n-1 Up down\n"), 4);
  EXPECT_EQ(parseBadLine("1 Up down extra\n"), 1);
  EXPECT_EQ(parseBadLine("1 up down\n"), 1);
  EXPECT_EQ(parseBadLine("1 axis0 1001\n"), 1);
  EXPECT_EQ(parseBadLine("1 axis1 12x\n"), 1);
  EXPECT_EQ(parseBadLine("99999999999999999999 Up down\n"), 1);
  EXPECT_EQ(parseBadLine(std::string("1 Up down\n2 S\0 up\n", 19)), 2);
}

TEST(InputScript, PlayerDrivesTheDeviceTickByTick) {
  std::vector<InputEvent> events = parseOk("0 analog on\n0 axis0 1000\n2 Up down\n4 Up up\n");
  ScriptedInput src;
  InputDevice dev(&src);
  ScriptPlayer player{events};
  std::vector<bool> up;
  for (long long t = 0; t < 6; ++t) {
    player.apply(t, src, dev);
    dev.update();
    up.push_back(dev.isDown(0xC8));
  }
  EXPECT_EQ(up, (std::vector<bool>{false, false, true, true, false, false}));
  EXPECT_TRUE(dev.isAnalog());
  EXPECT_NEAR(dev.axis(0), 0.6f, kAxisTol);
}
