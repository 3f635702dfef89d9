#pragma once

#include "game/game_state.h"

// While driving: the speedometer, the rev counter, the lap times (best, last,
// running) and the digital speed. Leaves texturing and blending on.
void drawInstruments(const GameState& state, const PhCar& car, unsigned int numbersTexture);
// The same with another running lap time (the replayed car's).
void drawInstruments(const GameState& state, const PhCar& car, unsigned int numbersTexture, float runningLap);

// With the menu shown: the menu and help pictures, the four switches, the ten
// best times and the cursor. Leaves texturing and blending off.
void drawMenu(const GameState& state, unsigned int menuTexture, unsigned int infoTexture,
              unsigned int switchTexture, unsigned int numbersTexture);
