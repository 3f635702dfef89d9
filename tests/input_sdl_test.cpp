#include "app/input_sdl.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <set>

TEST(SdlInput, DrivingKeysHaveTheirDirectInputCodes) {
  EXPECT_EQ(directInputCode(SDL_SCANCODE_UP), 0xC8);
  EXPECT_EQ(directInputCode(SDL_SCANCODE_DOWN), 0xD0);
  EXPECT_EQ(directInputCode(SDL_SCANCODE_LEFT), 0xCB);
  EXPECT_EQ(directInputCode(SDL_SCANCODE_RIGHT), 0xCD);
  EXPECT_EQ(directInputCode(SDL_SCANCODE_SPACE), 0x39);
  EXPECT_EQ(directInputCode(SDL_SCANCODE_C), 0x2E);
  EXPECT_EQ(directInputCode(SDL_SCANCODE_F12), 0x58);
  EXPECT_EQ(directInputCode(SDL_SCANCODE_ESCAPE), 0x01);
  EXPECT_EQ(directInputCode(SDL_SCANCODE_KP_ENTER), 0x9C);
  EXPECT_EQ(directInputCode(SDL_SCANCODE_UNKNOWN), 0);
}

TEST(SdlInput, EveryStandardKeyMapsToItsOwnCode) {
  std::set<int> seen;
  int mapped = 0;
  for (int sc = 0; sc < SDL_NUM_SCANCODES; ++sc) {
    int code = directInputCode(sc);
    if (code == 0) continue;
    ++mapped;
    EXPECT_TRUE(seen.insert(code).second) << "code " << code << " twice, at scancode " << sc;
  }
  // 104 keys of a full keyboard plus international and media keys.
  EXPECT_GE(mapped, 104);
  for (int sc = SDL_SCANCODE_A; sc <= SDL_SCANCODE_Z; ++sc) EXPECT_NE(directInputCode(sc), 0);
  for (int sc = SDL_SCANCODE_F1; sc <= SDL_SCANCODE_F12; ++sc) EXPECT_NE(directInputCode(sc), 0);
}

TEST(SdlInput, WithoutJoystickOrWindowEveryCodeIsUp) {
  SdlInput source;
  if (source.hasController()) GTEST_SKIP() << "a joystick is attached";
  InputDevice dev(&source);
  dev.update();
  for (int code = 0; code < 266; ++code) EXPECT_FALSE(dev.isDown(code)) << code;
}
