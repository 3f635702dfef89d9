#pragma once

#include "game/game_state.h"

class Renderer;
struct GhostScene;

// GL names of the overlay textures (0 for one that did not load).
struct HudTextures {
  unsigned int numbers = 0;
  unsigned int menu = 0;
  unsigned int menuOnOff = 0;
  unsigned int info = 0;
  unsigned int timing = 0;  // signs and words of the timing aids and the replay viewer
};

// What drawing a frame needs beyond the game state.
struct DrawContext {
  Renderer* renderer = nullptr;
  HudTextures textures;
  // Selects a GLSL program (0: none); null when the entry point is absent.
  void (*useProgramObject)(unsigned int program) = nullptr;
  // The ghost car's geometry; null for none.
  GhostScene* ghostScene = nullptr;
};

// Draws the scene from the menu camera or the current camera mode, then the
// instruments or the menu on top. Does not swap. Switches logging off after
// the scene pass (F12 logs one frame). The shell marks its frame clock before.
void RenderFrame(const GameContext& ctx, GameState& state, const DrawContext& draw);
