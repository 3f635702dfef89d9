#pragma once

#include "tools/sim/sim_options.h"
#include "tools/sim/sim_world.h"

// stravo-sim --board URL: what the game does with a board, without a window.
// Sends what waits in DIR/outbox; with --submit FILE puts FILE in the outbox
// first; with --fetch-rival fetches the proofs of the lap just above the
// player's and of the leader, checks them on DIR's track and keeps them as
// DIR/ghosts/rival.ghost and DIR/ghosts/leader.ghost (-turbo.ghost with
// --turbo). Prints one line per answer and returns the exit code: 0 when
// everything went, 3 when the board refused the lap, 5 when it waits in the
// outbox, 1 for any other failure.
int runBoardExchange(const SimWorld& sim, const SimOptions& opts);
