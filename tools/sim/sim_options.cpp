#include "tools/sim/sim_options.h"

#include "app/command_line.h"
#include "app/http_client.h"
#include "app/outgauge_options.h"

#include <CLI/CLI.hpp>

#include <cerrno>
#include <cstdlib>

namespace {

// The longest run accepted: far beyond any test, short of overflowing counters.
constexpr long long kMaxTicks = 1LL << 40;

bool parseTicks(const std::string& text, long long& out) {
  if (text.empty() || text[0] < '0' || text[0] > '9') return false;
  char* end = nullptr;
  errno = 0;
  long long v = std::strtoll(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || v > kMaxTicks) return false;
  out = v;
  return true;
}

// The runner's options bound to `out`; the tick count is read as text and checked
// by parseTicks so that every malformed count gets the same message.
void describeSimOptions(CLI::App& app, SimOptions& out, std::string& ticks) {
  app.description("stravo-sim: runs the game's simulation without a window on the data set in DIR.");
  app.add_option("--dir", out.dir, "Folder holding data/ (and receiving replay.vlr)")->type_name("DIR");
  app.add_option("--ticks", ticks, "Ticks of 1/75 s to run (default 7500)")->type_name("N");
  app.add_option("--input", out.inputPath, "Input script to play")->type_name("FILE");
  app.add_option("--telemetry", out.telemetryPath, "CSV telemetry to write")->type_name("FILE");
  app.add_flag("--record", out.record, "Record replay.vlr");
  app.add_option("--play", out.playPath, "Replay to play back")->type_name("FILE");
  app.add_flag("--turbo", out.turbo, "Switch the turbo on");
  app.add_flag("--manual", out.manual, "Manual gearbox");
  app.add_flag("--autopilot", out.autopilot, "Drive the track's centre line");
  app.add_option("--ghost", out.ghostPath, "Lap to drive against: ghost car, delta column and its splits")
      ->type_name("FILE");
  app.add_option("--verify-ghost", out.verifyGhostPaths,
                 "Check ghost files by driving their runs again from the standing start, then stop")
      ->type_name("FILE...");
  app.add_option("--board", out.board, "Leaderboard to send DIR/outbox to, then stop (http:// or https://)")
      ->type_name("URL");
  app.add_option("--name", out.name, "Player name on the board (default: the last one used there)")
      ->type_name("NAME");
  app.add_option("--submit", out.submitPath, "With --board: send this lap proof through DIR/outbox")
      ->type_name("FILE");
  app.add_flag("--fetch-rival", out.fetchRival,
               "With --board: fetch, check and keep the rival's and the leader's laps in DIR/ghosts");
  describeOutGaugeOptions(app, out.outgauge);
}

}  // namespace

const char* simUsage() {
  static const std::string line = [] {
    CLI::App app("", "stravo-sim");
    SimOptions options;
    std::string ticks;
    describeSimOptions(app, options, ticks);
    return usageLine(app);
  }();
  return line.c_str();
}

bool parseSimOptions(int argc, const char* const* argv, SimOptions& out, std::string& why) {
  CLI::App app("", "stravo-sim");
  std::string ticks;
  describeSimOptions(app, out, ticks);
  CommandLineResult parsed = parseCommandLine(app, argc, argv);
  if (parsed.outcome == CommandLineOutcome::Help) {
    out.helpText = parsed.text;
    return true;
  }
  if (parsed.outcome != CommandLineOutcome::Run) {
    why = parsed.text;
    return false;
  }
  if ((!out.submitPath.empty() || out.fetchRival || !out.name.empty()) && out.board.empty()) {
    why = "--submit, --fetch-rival and --name need --board";
    return false;
  }
  if (!out.board.empty() && !isHttpUrl(out.board)) {
    why = "--board needs an http:// or https:// URL";
    return false;
  }
  if (app.count("--ticks") > 0 && !parseTicks(ticks, out.ticks)) {
    why = "--ticks needs a whole number of ticks";
    return false;
  }
  return true;
}
