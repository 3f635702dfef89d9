#include "app/input_sdl.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <set>

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
