#pragma once

#include "app/outgauge_feed.h"

#include <string>

// What the game's command line asks for. With no options the game is the
// plain program.
struct GameOptions {
  OutGaugeSettings outgauge;  // --outgauge HOST:PORT, --outgauge-id N, --outgauge-rate HZ
};

// Parses the command line; false with a message for the player in `why` on an
// unknown option or a value that is not a number.
bool parseGameOptions(int argc, const char* const* argv, GameOptions& out, std::string& why);
