#pragma once

#include <string>

class PhCar;
struct GameState;
struct Ghosts;

// The game on a board (--board URL or board.txt): at start the player joins
// (the name registered once, its token kept), the outbox is sent and the
// player's standing, the rival's and the leader's laps are fetched; each
// completed lap that beats the player's best on the board goes through the
// outbox. Every exchange runs on a worker thread of its own: no frame waits
// on the network. Fetched laps are checked by driving them again on a track
// copy of the worker's own before they are kept as ghosts\rival.ghost and
// ghosts\leader.ghost (-turbo.ghost for the turbo class) and handed to the
// ghosts, where G chooses them.

// What the game needs from the command line and the working folder.
struct BoardPlaySettings {
  std::string base;  // the board's URL, without a trailing slash
  std::string name;  // empty: the name kept for that board, else $USER
};

// Starts the worker after Init (logging is off then: the worker's track copy
// logs nothing). False, with `why` for stderr, when the board cannot be used
// (no name, no circuit stamp, libcurl); the game then goes on without it.
bool startBoardPlay(const BoardPlaySettings& settings, Ghosts& ghosts, std::string& why);

// After each driving tick: a completed lap faster than the player's board best
// is written to the outbox and sent.
void boardAfterTick(const PhCar& car, const GameState& state);

// Once a frame on the main thread: takes over what the worker learnt (the
// rank shown under the ideal lap, lines for stderr), without waiting.
void boardFrame(GameState& state);

// True while the worker has a round asked for or under way.
bool boardBusy();

// Stops the worker: a transfer in flight is cancelled; the outbox stays.
void stopBoardPlay();
