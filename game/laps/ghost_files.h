#pragma once

#include "game/laps/ghost_file.h"
#include "game/laps/proof_track.h"

#include <string>

struct Ghosts;
struct GameState;

// One ghost file as a lap to show and drive against: a lap proof, verified by
// driving its run again on `track`, or a file of the older format (the car's
// state at the lap's start), checked by driving its lap again and kept as a
// local ghost. False with the reason when it is refused.
bool readGhostFile(const std::string& path, const ProofTrack& track, GhostLap& lap, std::string& why);

// The ghosts' track as proofs are checked on it: their tree and start line,
// the start of `state`, and `folder` + data's centre line and version stamp
// (`folder` "" for the working folder, else a prefix ending in a separator).
void ghostProofTrack(const Ghosts& ghosts, const GameState& state, const std::string& folder, ProofTrack& track);

// After openGhosts: the circuit and centre line the run's laps are measured on,
// then each class's ghost file when it exists, read by readGhostFile; a file
// that is refused, or holds a lap of the other class, is logged ("Main: Ghost
// file "%s" refused: %s") and left unused. A missing file is no fault and logs
// nothing.
void loadGhostFiles(Ghosts& ghosts, const GameState& state, const std::string& folder);
