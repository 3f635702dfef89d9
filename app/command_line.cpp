#include "app/command_line.h"

#include <CLI/CLI.hpp>

namespace {

bool isFlag(const CLI::Option& option) { return option.get_items_expected_max() == 0; }

// The option's long name as typed, "--name".
std::string longName(const CLI::Option& option) {
  const auto& names = option.get_lnames();
  return names.empty() ? option.get_name() : "--" + names.front();
}

}  // namespace

std::string usageLine(const CLI::App& app) {
  std::string line = "usage: " + app.get_name();
  for (const CLI::Option* option : app.get_options()) {
    line += " [" + longName(*option);
    if (!isFlag(*option)) line += " " + option->get_type_name();
    line += "]";
  }
  return line;
}

CommandLineResult parseCommandLine(CLI::App& app, int argc, const char* const* argv) {
  CommandLineResult result;
  // A value option accepts none at parse time so that its absence is reported in
  // the program's own words below rather than CLI11's. An option of several
  // values takes every one up to the next option.
  for (CLI::Option* option : app.get_options())
    if (!isFlag(*option) && option->get_items_expected_max() <= 1)
      option->expected(0, 1)->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  app.allow_extras();
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    result.outcome = CommandLineOutcome::Help;
    result.text = app.help();
  } catch (const CLI::CallForVersion& e) {
    result.outcome = CommandLineOutcome::Version;
    result.text = e.what();
  } catch (const CLI::ParseError& e) {
    result.outcome = CommandLineOutcome::Refused;
    result.text = e.what();
    return result;
  }
  // A word the program does not know is refused even beside --help or --version.
  if (!app.remaining().empty()) {
    result.outcome = CommandLineOutcome::Refused;
    result.text = "unknown option '" + app.remaining().front() + "'";
    return result;
  }
  if (result.outcome != CommandLineOutcome::Run) return result;
  for (const CLI::Option* option : app.get_options()) {
    if (isFlag(*option) || option->count() == 0) continue;
    const CLI::results_t& values = option->results();
    if (values.empty() || values.back().empty()) {
      result.outcome = CommandLineOutcome::Refused;
      result.text = longName(*option) + " needs a value";
      return result;
    }
  }
  return result;
}
