#pragma once

#include <string>

// The players' tokens, one per board and name, kept in the file "tokens" of the
// folder $XDG_CONFIG_HOME/stravo (~/.config/stravo when unset or relative),
// readable by the player only (mode 0600). Each line: URL, NAME, TOKEN,
// separated by tabs.

// The folder the tokens live in; empty when neither XDG_CONFIG_HOME nor HOME
// gives one.
std::string boardConfigFolder();

// The token kept for `name` on the board at `base`; false when there is none.
bool findToken(const std::string& folder, const std::string& base, const std::string& name, std::string& token);
// The name of the last player kept for the board at `base`; false when none.
bool lastPlayerOf(const std::string& folder, const std::string& base, std::string& name);
// Keeps `token` for `name` on `base` (replacing an older one), writing the file
// anew through a temporary one with mode 0600. False with `why`.
bool keepToken(const std::string& folder, const std::string& base, const std::string& name, const std::string& token,
               std::string& why);
