#include "game/menu.h"

#include "app/input_device.h"

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>

namespace {

// Holds exactly the given keys down for the next menu pass.
struct Keys {
  InputDevice input{nullptr};
  MenuAction press(GameState& state, std::initializer_list<int> codes) {
    std::memset(input.keys, 0, sizeof(input.keys));
    for (int code : codes) input.keys[code] = 0x80;
    return handleMenuKeys(state, input);
  }
  MenuAction release(GameState& state) { return press(state, {}); }
};

}  // namespace

TEST(Menu, HeldKeyMovesTheCursorOnce) {
  GameState state;
  Keys keys;
  keys.press(state, {kKeyMenuDown});
  keys.press(state, {kKeyMenuDown});
  keys.press(state, {kKeyMenuDown});
  EXPECT_EQ(state.menuCursor, 1);
  keys.release(state);
  keys.press(state, {kKeyMenuUp});
  EXPECT_EQ(state.menuCursor, 0);
}

TEST(Menu, OneLatchServesEveryKey) {
  GameState state;
  Keys keys;
  keys.press(state, {kKeyMenuRight});
  EXPECT_EQ(state.menuCursor, 3);
  // Switching from one held key to another without a release does nothing.
  keys.press(state, {kKeyMenuDown});
  EXPECT_EQ(state.menuCursor, 3);
  keys.release(state);
  keys.press(state, {kKeyMenuDown});
  EXPECT_EQ(state.menuCursor, 4);
}

TEST(Menu, EscapeAndDownInOneUpdateOpenTheMenuAndMove) {
  GameState state;
  state.menuVisible = false;
  Keys keys;
  keys.press(state, {kKeyToggleMenu, kKeyMenuDown});
  EXPECT_TRUE(state.menuVisible);
  EXPECT_EQ(state.menuCursor, 1);
}

TEST(Menu, KeysOtherThanEscapeAreIgnoredWhileDriving) {
  GameState state;
  state.menuVisible = false;
  Keys keys;
  keys.press(state, {kKeyMenuDown});
  EXPECT_EQ(state.menuCursor, 0);
  EXPECT_FALSE(state.menuKeyHeld);
  // Escape while the menu is shown hides it, and Down in the same pass no longer acts.
  state.menuVisible = true;
  keys.press(state, {kKeyToggleMenu, kKeyMenuDown});
  EXPECT_FALSE(state.menuVisible);
  EXPECT_EQ(state.menuCursor, 0);
}

TEST(Menu, ColumnsStopAtTheirEnds) {
  GameState state;
  Keys keys;
  // Item 1 is the bottom of the left column: Down does nothing.
  state.menuCursor = 1;
  keys.press(state, {kKeyMenuDown});
  EXPECT_EQ(state.menuCursor, 1);
  keys.release(state);
  // Item 3 is the top of the right column: Up does nothing.
  state.menuCursor = 3;
  keys.press(state, {kKeyMenuUp});
  EXPECT_EQ(state.menuCursor, 3);
  keys.release(state);
  state.menuCursor = 6;
  keys.press(state, {kKeyMenuDown});
  EXPECT_EQ(state.menuCursor, 6);
  keys.release(state);
  // Left from any switch goes to item 0, Right from item 1 to item 3.
  keys.press(state, {kKeyMenuLeft});
  EXPECT_EQ(state.menuCursor, 0);
  keys.release(state);
  state.menuCursor = 1;
  keys.press(state, {kKeyMenuRight});
  EXPECT_EQ(state.menuCursor, 3);
}

TEST(Menu, EnterActsOnTheItemUnderTheCursor) {
  GameState state;
  Keys keys;
  EXPECT_EQ(keys.press(state, {kKeyChooseItem}), MenuAction::kRestart);
  EXPECT_EQ(keys.press(state, {kKeyChooseItem}), MenuAction::kNone);  // held
  keys.release(state);
  state.menuCursor = 1;
  EXPECT_EQ(keys.press(state, {kKeyChooseItem}), MenuAction::kQuit);
  keys.release(state);
  // The turbo switch flips from 1 (off) to 0 (on) and back.
  state.menuCursor = 4;
  EXPECT_EQ(keys.press(state, {kKeyChooseItem}), MenuAction::kOptionsChanged);
  EXPECT_EQ(state.menuOptions[1], 0);
  keys.release(state);
  keys.press(state, {kKeyChooseItem});
  EXPECT_EQ(state.menuOptions[1], 1);
  EXPECT_EQ(state.menuOptions[0], 1);
  EXPECT_EQ(state.menuOptions[2], 0);
  EXPECT_EQ(state.menuOptions[3], 1);
}

TEST(Menu, EnterWithTheMenuHiddenDoesNothing) {
  GameState state;
  state.menuVisible = false;
  Keys keys;
  EXPECT_EQ(keys.press(state, {kKeyChooseItem}), MenuAction::kNone);
}
