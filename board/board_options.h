#pragma once

#include <cstddef>
#include <string>

// How a board runs; every limit has a default that suits one small machine.
struct BoardOptions {
  std::string host = "127.0.0.1";
  int port = 8080;                       // 0: any free port (printed at start)
  std::string db = "board.sqlite";       // SQLite file, or a postgresql:// URI
  std::string dataDir = "board-data";    // generated circuits under DIR/circuits
  int workers = 2;                       // verifications at once
  int verifyQueue = 32;                // proofs waiting for a worker; more get 503
  size_t maxProofBytes = 4 << 20;        // larger bodies get 413
  int submitIntervalMs = 2000;           // one submission per player this often, else 429
  int httpThreads = 64;                  // requests served at once
  int timeoutSeconds = 10;               // per read or write on a connection
  int dbConnections = 4;
  int maxCircuits = 16;                  // circuits one process will generate
};

// The usage line.
const char* boardUsage();
// Parses the command line into `out`; false with the reason, or with `why`
// holding the help text and `help` set.
bool parseBoardOptions(int argc, const char* const* argv, BoardOptions& out, bool& help, std::string& why);
