#pragma once

#include "game/laps/ghost_file.h"
#include "game/laps/proof_track.h"

#include <cstdint>
#include <string>
#include <vector>

struct Ghosts;

// The one place that knows what the board is sent and sends back: a lap proof,
// the same bytes as the ghost file the game and the runner write. A proof
// fetched from the board becomes a lap to drive only through checkProof.

// The proof of the lap the ghosts saw completed on the tick they recorded last.
// False when there is none (no lap, or a run given up for its length).
bool proofOfLap(const Ghosts& ghosts, std::vector<uint8_t>& out);

// The lap class a proof states, read without driving it; false with the reason
// when the bytes are no proof of `trackId`'s track.
bool proofClass(const std::vector<uint8_t>& proof, uint64_t trackId, LapClass& out, std::string& why);

// Verifies a proof by driving its run again on `track` and gives its lap as a
// ghost lap; false with the reason when it does not hold up. Takes turns with
// other verifications through the shared car tables, so any thread may call it
// as long as it does not hold them itself.
bool checkProof(const std::vector<uint8_t>& proof, const ProofTrack& track, GhostLap& out, std::string& why);
