#pragma once

#include "game/laps/proof_track.h"

#include <string>
#include <vector>

// --verify-ghost FILE...: each file driven again from its standing start on
// `track`. Prints for each, in order, "ghost verified: lap M:SS.CC clean" (or
// "... not clean: REASON") or "ghost refused: REASON", and on stderr how many
// ticks a second the verification drove. True when every file verified.
bool verifyGhostFiles(const ProofTrack& track, const std::vector<std::string>& paths);
