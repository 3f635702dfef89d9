#include "game/menu.h"

#include "app/input_device.h"

MenuAction handleMenuKeys(GameState& state, const InputDevice& input) {
  MenuAction action = MenuAction::kNone;
  bool anyKey = false;
  bool fresh = !state.menuKeyHeld;

  if (input.isDown(kKeyToggleMenu)) {
    if (fresh) state.menuVisible = !state.menuVisible;
    anyKey = true;
  }
  if (state.menuVisible) {
    // Two columns: items 0-1 on the left, switches 3-6 on the right.
    if (input.isDown(kKeyMenuUp)) {
      if (fresh && state.menuCursor != kMenuRestart && state.menuCursor != kMenuFirstOption)
        state.menuCursor -= 1;
      anyKey = true;
    }
    if (input.isDown(kKeyMenuDown)) {
      if (fresh && state.menuCursor != kMenuQuit && state.menuCursor != kMenuLastItem)
        state.menuCursor += 1;
      anyKey = true;
    }
    if (input.isDown(kKeyMenuRight)) {
      if (fresh && state.menuCursor < kMenuFirstOption) state.menuCursor = kMenuFirstOption;
      anyKey = true;
    }
    if (input.isDown(kKeyMenuLeft)) {
      if (fresh && state.menuCursor >= 2) state.menuCursor = kMenuRestart;
      anyKey = true;
    }
    if (input.isDown(kKeyChooseItem)) {
      if (fresh) {
        if (state.menuCursor >= 2) {
          int& option = state.menuOptions[state.menuCursor - kMenuFirstOption];
          option = 1 - option;
          action = MenuAction::kOptionsChanged;
        } else if (state.menuCursor == kMenuRestart) {
          action = MenuAction::kRestart;
        } else {
          action = MenuAction::kQuit;
        }
      }
      anyKey = true;
    }
  }
  state.menuKeyHeld = anyKey;
  return action;
}
