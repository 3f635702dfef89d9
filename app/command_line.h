#pragma once

#include <string>

namespace CLI {
class App;
}

// How a command line ends up: run the program, or stop after printing help,
// the version or the reason it was refused.
enum class CommandLineOutcome { Run, Help, Version, Refused };

// The outcome and its text: the help or version text, or the reason for a refusal.
struct CommandLineResult {
  CommandLineOutcome outcome = CommandLineOutcome::Run;
  std::string text;
};

// One line naming every option of `app`, "usage: NAME [--flag] [--option VALUE] ...".
std::string usageLine(const CLI::App& app);

// Parses with CLI11 and keeps its exceptions here. An option given twice keeps its
// last value; a value option given without a value, or with an empty one, is refused
// with "--NAME needs a value"; a word the program does not know is refused with
// "unknown option 'WORD'", also beside --help or --version.
CommandLineResult parseCommandLine(CLI::App& app, int argc, const char* const* argv);
