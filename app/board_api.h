#pragma once

#include "app/http_client.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

// The leaderboard's HTTP API as the game and the headless runner use it. Every
// answer is untrusted: a reply that does not have the expected shape is a
// failure with a reason, never a crash.

// The limits of each exchange with a board; STRAVO_BOARD_TIMEOUT_MS, when set
// to a whole number of milliseconds, bounds every exchange to it (tests).
HttpLimits boardLimits();

// Where the board is: its base URL without a trailing slash, and the limits of
// each exchange.
struct BoardLink {
  std::string base;  // "http://127.0.0.1:8080"
  HttpLimits limits = boardLimits();
  const std::atomic<bool>* cancel = nullptr;
};

// A board URL as given on the command line or in board.txt: http(s) only; one
// trailing slash is dropped. False with `why` otherwise.
bool parseBoardUrl(const std::string& text, std::string& base, std::string& why);

enum class RegisterOutcome { Registered, NameTaken, Failed };
// POST /api/v1/players: a new player and their token.
RegisterOutcome registerPlayer(const BoardLink& link, const std::string& name, std::string& token, std::string& why);

// What the board made of a submitted lap.
enum class SubmitOutcome {
  Accepted,  // 201: on the board; `rank` is the player's place after it
  Refused,   // the board judged it and said no (damaged, not clean, ...): drop it
  Retry,     // no judgement (offline, busy, too fast, unknown token, a broken answer): keep it
};
struct SubmitReply {
  SubmitOutcome outcome = SubmitOutcome::Retry;
  int64_t lapId = 0;
  int64_t rank = 0;
  std::string why;  // the board's reason, or what went wrong
  bool tokenUnknown = false;  // 401: the board does not know the player's token
};
// POST /api/v1/laps?circuit=C&generator=G with the proof's bytes.
SubmitReply submitLap(const BoardLink& link, const std::string& token, const std::string& circuit, int generator,
                      const std::vector<uint8_t>& proof);
// The judgement of one answer to a submission (split out for tests).
SubmitReply judgeSubmitReply(const HttpReply& reply);

// One line of a board: a player's best lap.
struct BoardEntry {
  int64_t rank = 0;
  int64_t lapId = 0;
  std::string player;
  double time = 0.0;  // s
};
struct BoardPage {
  int64_t total = 0;  // players on the board
  std::vector<BoardEntry> entries;
};
// GET /api/v1/boards/CIRCUIT/CLASS?offset=O&limit=L. False with `why`.
bool fetchBoardPage(const BoardLink& link, const std::string& circuit, const std::string& lapClass, int64_t offset,
                    int64_t limit, BoardPage& out, std::string& why);
// The page in one answer's body (split out for tests).
bool parseBoardPage(const std::string& body, BoardPage& out, std::string& why);

// GET /api/v1/laps/ID/proof: the proof's bytes (at most the link's body limit).
bool fetchProof(const BoardLink& link, int64_t lapId, std::vector<uint8_t>& out, std::string& why);
