#include "board/board_options.h"

#include "app/command_line.h"

#include <CLI/CLI.hpp>

#include <cstdlib>

namespace {

// HOST:PORT with a port 0..65535.
bool parseListen(const std::string& text, std::string& host, int& port) {
  size_t colon = text.rfind(':');
  if (colon == std::string::npos || colon == 0 || colon + 1 == text.size()) return false;
  std::string digits = text.substr(colon + 1);
  if (digits.size() > 5 || digits.find_first_not_of("0123456789") != std::string::npos) return false;
  int p = std::atoi(digits.c_str());
  if (p > 65535) return false;
  host = text.substr(0, colon);
  port = p;
  return true;
}

void describeBoardOptions(CLI::App& app, BoardOptions& out, std::string& listen) {
  app.description("stravo-board: a time-trial leaderboard that drives every submitted lap again.");
  app.add_option("--listen", listen, "Address to serve on (default 127.0.0.1:8080; port 0 picks one)")
      ->type_name("HOST:PORT");
  app.add_option("--db", out.db, "SQLite file (default board.sqlite) or postgresql:// URI")->type_name("DB");
  app.add_option("--data", out.dataDir, "Folder for the generated circuits (default board-data)")->type_name("DIR");
  app.add_option("--workers", out.workers, "Proofs verified at once (default 2)")->type_name("N")
      ->check(CLI::Range(1, 64));
  app.add_option("--verify-queue", out.verifyQueue, "Proofs waiting for a worker before 503 (default 32)")
      ->type_name("N")->check(CLI::Range(1, 10000));
  app.add_option("--max-proof-bytes", out.maxProofBytes, "Largest proof accepted (default 4194304)")
      ->type_name("BYTES")->check(CLI::Range(size_t(1024), size_t(64) << 20));
  app.add_option("--submit-interval-ms", out.submitIntervalMs, "Least time between a player's submissions (default 2000)")
      ->type_name("MS")->check(CLI::Range(0, 3600000));
  app.add_option("--http-threads", out.httpThreads, "Requests served at once (default 64)")->type_name("N")
      ->check(CLI::Range(2, 1024));
  app.add_option("--timeout-s", out.timeoutSeconds, "Read and write time-out of a connection (default 10)")
      ->type_name("S")->check(CLI::Range(1, 300));
  app.add_option("--db-connections", out.dbConnections, "Database connections (default 4)")->type_name("N")
      ->check(CLI::Range(1, 64));
  app.add_option("--max-circuits", out.maxCircuits, "Circuits this process generates at most (default 16)")
      ->type_name("N")->check(CLI::Range(1, 1000));
}

}  // namespace

const char* boardUsage() {
  static const std::string line = [] {
    CLI::App app("", "stravo-board");
    BoardOptions options;
    std::string listen;
    describeBoardOptions(app, options, listen);
    return usageLine(app);
  }();
  return line.c_str();
}

bool parseBoardOptions(int argc, const char* const* argv, BoardOptions& out, bool& help, std::string& why) {
  CLI::App app("", "stravo-board");
  std::string listen;
  describeBoardOptions(app, out, listen);
  CommandLineResult result = parseCommandLine(app, argc, argv);
  help = result.outcome == CommandLineOutcome::Help;
  if (result.outcome != CommandLineOutcome::Run) {
    why = result.text;
    return help;
  }
  if (!listen.empty() && !parseListen(listen, out.host, out.port)) {
    why = "--listen needs HOST:PORT";
    return false;
  }
  return true;
}
