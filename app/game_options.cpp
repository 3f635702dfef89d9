#include "app/game_options.h"

#include <CLI/CLI.hpp>

bool parseGameOptions(int argc, char** argv, GameOptions& out, std::string& why) {
  CLI::App app("StravoDemo1", "stravo");
  // Arguments the game does not know are left alone, as they always were.
  app.allow_extras();
  app.set_help_flag();
  app.add_flag("--rumble", out.rumble, "rumble the controller with the car's force feedback (key F)");
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    why = e.what();
    return false;
  }
  return true;
}
