#pragma once

#include "game/lap_class.h"
#include "game/laps/ghost_file.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A lap proof (ghost file format 2): the whole run from a standing start to the
// end of one lap, kept as the inputs of every tick and the recoveries. Nothing
// of the car is stored: a reader builds the car from this program's own
// constants, puts it where the run began and drives every tick again, so a car
// with other parameters cannot prove its laps to this program.
//
// A run begins either where the menu's restart leaves the car (20 m behind the
// start line, standing, braked) or where start-up leaves it (the same spot, the
// car as built). Tick 0 is the run's first driving tick; ticks with the menu
// shown move nothing and are not part of the run.
//
// Layout, little-endian throughout, no padding:
//
//   offset  size  field
//   0       8     magic "STRVGHST" (as format 1)
//   8       4     u32 format version (kProofFormatVersion)
//   12      4     u32 physics version of the car that drove it (kPhysicsVersion)
//   16      8     u64 track identity: trackIdentity() of track1.rmd's bytes
//   24      4     u32 program version (kProofProgramVersion of the writer)
//   28      4     u32 version of the generator that made the data set
//   32      4     u32 circuit seed (0 for the default circuit)
//   36      4     u32 flags: kProofTurboLap, kProofClean, kProofSeeded,
//                 kProofFromStartUp; the other bits 0
//   40      4     u32 lap start tick S: the tick whose step touched the line and
//                 started the proven lap
//   44      4     u32 lap end tick E: the tick that touched the line again and
//                 completed it; S < E < kMaxProofTicks; the run is ticks 0..E
//   48      4     f32 lap time (s) as the lap timer held it
//   52      12    3 f32 sector times (s), split on the centre line; NaN when the
//                 track has no centre line
//   64      8     u64 end-state hash: proofStateHash() of the car after tick E
//   72      4     u32 change record count C, 1..E+1
//   76      4     u32 change record bytes B
//   80      B     the change records (below)
//   80+B    8     u64 checksum: FNV-1a (64-bit) of every byte before it
//
// Change records, in tick order; each gives what changed before its tick's step
// (before the first record everything is 0: no key, no switch, axes 0):
//   varint  ticks since the previous record's tick (the first: its tick; every
//           later one at least 1)
//   u8      mask: kChangeKeys, kChangeSwitches, kChangeAxis0 << n (axis n),
//           kChangeRecovery (the car put back at the recovery point before this
//           tick's step); never 0, other bits 0
//   varint  keys (bit i: kGhostKeyCodes[i] down), when kChangeKeys
//   u8      switches (kGhostAnalog, kGhostTurbo, kGhostAutoGearbox), when
//           kChangeSwitches
//   f32     axis n, -1..1, for each kChangeAxis0 << n, in axis order
// A changed field differs from the value before it. Varints are little-endian
// base 128, at most 5 bytes, without superfluous zero bytes.

constexpr uint32_t kProofFormatVersion = 2;
// The program that wrote a proof: major * 10000 + minor * 100 + patch.
extern const uint32_t kProofProgramVersion;

// Thirty minutes of ticks: the longest run a proof holds.
constexpr uint32_t kMaxProofTicks = 30 * 60 * 75;
constexpr size_t kProofHeaderBytes = 80;
constexpr size_t kProofChecksumBytes = 8;
// The largest change record: a 3-byte tick step, the mask, 3 bytes of keys, the
// switches and three axes.
constexpr size_t kMaxChangeRecordBytes = 3 + 1 + 3 + 1 + 12;
// The largest valid proof: a record on every tick of the longest run.
constexpr size_t kMaxProofBytes = kProofHeaderBytes + size_t(kMaxProofTicks) * kMaxChangeRecordBytes +
                                  kProofChecksumBytes;

// Header flags.
constexpr uint32_t kProofTurboLap = 1u << 0;
constexpr uint32_t kProofClean = 1u << 1;
constexpr uint32_t kProofSeeded = 1u << 2;
constexpr uint32_t kProofFromStartUp = 1u << 3;

// Change record mask bits.
constexpr uint8_t kChangeKeys = 1u << 0;
constexpr uint8_t kChangeSwitches = 1u << 1;
constexpr uint8_t kChangeAxis0 = 1u << 2;  // axes 0..2: bits 2..4
constexpr uint8_t kChangeRecovery = 1u << 5;

// Where a run begins.
enum class ProofStart : uint8_t { Restart, StartUp };

// What happens before one tick's step: the input as it stands from that tick
// on, and whether the car was put back at the recovery point first.
struct ProofChange {
  uint32_t tick = 0;
  bool recovery = false;
  GhostInput input;  // keys, switches and axes from this tick on
};

// A run's changes taken tick by tick, in order, as a drive of the run meets them.
struct ProofChangeCursor {
  const std::vector<ProofChange>* changes = nullptr;
  size_t next = 0;

  // The change before tick `tick`'s step, or null when the input stays as it was.
  const ProofChange* at(uint64_t tick) {
    if (next >= changes->size() || (*changes)[next].tick != tick) return nullptr;
    return &(*changes)[next++];
  }
};

// The circuit a proof was driven on, as the data set's version stamp names it.
struct ProofCircuit {
  uint64_t trackId = 0;
  uint32_t generatorVersion = 0;
  bool seeded = false;
  uint32_t seed = 0;
};

// One proof in memory.
struct LapProof {
  uint32_t physicsVersion = kPhysicsVersion;
  uint32_t programVersion = 0;
  ProofCircuit circuit;
  ProofStart start = ProofStart::Restart;
  uint32_t lapStartTick = 0;
  uint32_t lapEndTick = 0;
  float lapTime = 0.0f;  // s
  float sectors[3] = {0.0f, 0.0f, 0.0f};  // s
  LapClass lapClass = LapClass::Plain;  // the stated class
  bool clean = false;  // the stated cleanliness
  uint64_t endStateHash = 0;
  std::vector<ProofChange> changes;  // in tick order, each tick at most once
};

// The file image of a proof (changes in tick order, each tick at most once,
// the last one at or before lapEndTick).
std::vector<uint8_t> encodeProof(const LapProof& proof);

// Reads a file image, refusing (false, one reason in `why`) a wrong magic, a
// format-1 file ("made by an older version; it holds no standing start"),
// another format or physics version, impossible ticks or counts (before
// anything is allocated), a truncated or over-long image, a bad checksum and
// change records that are malformed, not in order, not canonical or beyond the
// run. Does not check the track or drive the run (see verifyProof). Never reads
// outside data[0..size).
bool parseProof(const uint8_t* data, size_t size, LapProof& out, std::string& why);
