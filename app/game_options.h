#pragma once

#include <string>

// The game's command-line switches; a player who gives none gets the game as
// it always was.
struct GameOptions {
  bool rumble = false;  // --rumble: the controller rumbles with the car's force feedback
};

// Reads the switches from the command line. False, with the reason in `why`,
// when the command line cannot be read.
bool parseGameOptions(int argc, char** argv, GameOptions& out, std::string& why);
