#pragma once

#include "game/game_state.h"
#include "game/laps/ghost_choice.h"

struct ReplayViewer;

// The live delta at the top of the screen and the sector splits with the ideal
// lap at the top left, from the numbers picture and the timing picture
// (signs and words). Expects textured blending on; leaves it on.
void drawTimingAids(const TimingAids& aids, unsigned int numbersTexture, unsigned int timingTexture);

// Which lap the ghost car drives (BEST, RIVAL, LEADER), small at the top of
// the screen. Expects textured blending on; leaves it on.
void drawGhostLabel(GhostChoice choice, unsigned int timingTexture);

// NOT SAVED below the delta, in red. Expects textured blending on; leaves it on.
void drawSaveNotice(unsigned int timingTexture);

// REPLAY with the playback speed, and PAUSED while paused, at the top of the
// screen. Expects textured blending on; leaves it on.
void drawReplayBanner(const ReplayViewer& viewer, unsigned int timingTexture);
