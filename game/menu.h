#pragma once

#include "game/game_state.h"

class InputDevice;

// What the menu keys of one update ask for beyond moving the cursor.
enum class MenuAction {
  kNone,
  kRestart,         // Enter on item 0
  kQuit,            // Enter on item 1
  kOptionsChanged,  // Enter on a switch: one option flipped, all four to apply
};

// The menu keys, tested in the order Escape, Up, Down, Right, Left, Enter. Escape
// toggles the menu; the others act only while it is shown (Escape and another
// key in the same update both act). One latch serves every key: nothing acts
// again until all menu keys have been released, so holding a key never repeats.
MenuAction handleMenuKeys(GameState& state, const InputDevice& input);
