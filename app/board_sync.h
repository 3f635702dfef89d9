#pragma once

#include "app/board_api.h"

#include <string>
#include <vector>

// The exchanges of a player with the board, shared by the game's worker thread
// and the headless runner. Blocking; each one bounded by the link's limits.

// Who plays on which board and circuit.
struct BoardPlayer {
  BoardLink link;
  std::string name;
  std::string token;         // empty until joinBoard found or got one
  std::string configFolder;  // where tokens are kept (boardConfigFolder())
  std::string circuit;       // "default", "seed-N"
  int generator = 0;         // data set generator version
  std::string outbox;        // the outbox folder
};

// The player's name when none was given: the last one kept for the board,
// else $USER. False when neither gives a usable one.
bool defaultPlayerName(const std::string& configFolder, const std::string& base, std::string& name);

enum class JoinOutcome { Joined, NameTaken, Failed };
// The kept token of the player (unless `fresh`: the board did not know it),
// or a new one from the board (then kept; when it cannot be, Joined all the
// same with the reason in `why`).
JoinOutcome joinBoard(BoardPlayer& player, std::string& why, bool fresh = false);

// What sending the outbox gave.
struct OutboxReport {
  int accepted = 0;
  int refused = 0;
  int waiting = 0;         // still in the outbox
  int64_t lastRank = 0;    // the player's rank after the last accepted lap
  bool tokenUnknown = false;  // the board refused the token: join afresh
  std::vector<std::string> lines;  // one per lap answered or kept, for stderr and the HUD
};
// Sends the waiting proofs, oldest first; stops at the first that must wait
// (the rest wait with it). Each accepted or refused proof leaves the outbox.
OutboxReport sendOutbox(const BoardPlayer& player);

// Where the player stands on one class's board of the circuit.
struct Standing {
  int64_t total = 0;   // players on the board
  bool ranked = false;  // the player has a lap there
  BoardEntry own;
  bool haveRival = false;  // the lap just above the player's (the slowest one when unranked)
  BoardEntry rival;
  bool haveLeader = false;
  BoardEntry leader;
};
// Reads the board page by page (a bounded number) to find the player.
bool fetchStanding(const BoardPlayer& player, const std::string& lapClass, Standing& out, std::string& why);
