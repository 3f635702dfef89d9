#include "app/game_options.h"

#include "app/bench_options.h"
#include "app/command_line.h"
#include "app/http_client.h"
#include "app/outgauge_options.h"

#include <CLI/CLI.hpp>

#include <cstdio>

namespace {

// A refused command line ends like other Unix programs' misuse.
constexpr int kExitUsage = 2;

const char kDescription[] =
    "Stravo: drive a rally car around a closed track.\n"
    "Runs in the current folder: reads data/ and config.txt, writes config.txt (when missing),\n"
    "log.txt and toptimes.dat.";

// The board named once for every run: one line in the working folder.
const char kBoardFile[] = "board.txt";
constexpr size_t kMaxBoardLine = 512;

// The first line of `path`, without its line end and surrounding blanks; empty
// when there is no such file.
std::string boardOfFile(const char* path) {
  std::FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return "";
  char buffer[kMaxBoardLine + 1];
  size_t got = std::fread(buffer, 1, kMaxBoardLine, file);
  std::fclose(file);
  std::string line(buffer, got);
  line = line.substr(0, line.find_first_of("\r\n"));
  size_t first = line.find_first_not_of(" \t"), last = line.find_last_not_of(" \t");
  return first == std::string::npos ? "" : line.substr(first, last - first + 1);
}

}  // namespace

GameOptionsResult parseGameOptions(int argc, const char* const* argv, GameOptions& out) {
  CLI::App app(kDescription, "stravo");
  app.set_version_flag("--version", "stravo " STRAVO_VERSION, "Print the version and exit");
  bool fullscreen = false, windowed = false;
  app.add_flag("--fullscreen", fullscreen, "Fullscreen for this run, whatever config.txt says");
  app.add_flag("--windowed", windowed, "In a window for this run, whatever config.txt says");
  app.add_flag("--rumble", out.rumble, "Rumble the controller with the car's force feedback (key F)");
  describeOutGaugeOptions(app, out.outgauge);
  app.add_option("--board", out.board, "Leaderboard to send proven laps to and race the rival's ghost from")
      ->type_name("URL");
  app.add_option("--name", out.name, "Player name on the board (default: the last one used there)")
      ->type_name("NAME");
  describeBenchOptions(app, out.bench);

  CommandLineResult parsed = parseCommandLine(app, argc, argv);
  if (parsed.outcome == CommandLineOutcome::Run && fullscreen && windowed) {
    parsed.outcome = CommandLineOutcome::Refused;
    parsed.text = "--fullscreen and --windowed exclude each other";
  }
  // A benchmark drive measures frames alone unless --board names a board for it.
  if (parsed.outcome == CommandLineOutcome::Run && out.board.empty() && !out.bench.on)
    out.board = boardOfFile(kBoardFile);
  if (parsed.outcome == CommandLineOutcome::Run && !out.board.empty() && !isHttpUrl(out.board)) {
    parsed.outcome = CommandLineOutcome::Refused;
    parsed.text = "--board (or board.txt) needs an http:// or https:// URL";
  }
  if (parsed.outcome == CommandLineOutcome::Run) {
    std::string why = checkBenchOptions(app, out.bench);
    if (!why.empty()) {
      parsed.outcome = CommandLineOutcome::Refused;
      parsed.text = why;
    }
  }
  GameOptionsResult result;
  switch (parsed.outcome) {
    case CommandLineOutcome::Run:
      break;
    case CommandLineOutcome::Help:
    case CommandLineOutcome::Version:
      result.run = false;
      result.text = parsed.text;
      if (result.text.empty() || result.text.back() != '\n') result.text += '\n';
      return result;
    case CommandLineOutcome::Refused:
      result.run = false;
      result.exitCode = kExitUsage;
      result.text = "stravo: " + parsed.text + "\n" + usageLine(app) + "\n";
      return result;
  }
  if (fullscreen) out.fullscreen = 1;
  if (windowed) out.fullscreen = 0;
  return result;
}
