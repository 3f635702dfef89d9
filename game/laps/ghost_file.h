#pragma once

#include "game/lap_class.h"
#include "game/tick.h"
#include "physics/vec3.h"
#include "vehicle/car_state.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class InputDevice;
class PhCar;

// A ghost file: one timed lap, kept so that it can be driven again tick for tick.
// The car is bit-exact (the same start and the same inputs give the same drive),
// so the file carries the car's complete state at the lap's start and the inputs
// of every tick; the poses let a reader draw the lap and check that re-driving it
// gives the same car, so a file proves its own lap time.
//
// Layout, little-endian throughout, no padding:
//
//   offset   size      field
//   0        8         magic "STRVGHST"
//   8        4         u32 format version (kGhostFormatVersion)
//   12       4         u32 physics version of the car that drove it (kPhysicsVersion)
//   16       8         u64 track identity: trackIdentity() of track1.rmd's bytes
//   24       4         f32 lap time in seconds as the lap timer held it (the display
//                      shows it cut to hundredths)
//   28       4         u32 lap ticks N, 1..kMaxGhostTicks
//   32       4         u32 flags: bit 0 a turbo lap; the other bits 0
//   36       4         u32 start-state size S, carStateBytes()
//   40       S         the start state: the values of a CarState in visitCarState
//                      order; bool 1 byte (0 or 1), int32 4, float 4, double 8,
//                      Vec3 3 doubles x, y, z, Mat4 16 floats column-major
//   40+S     20 N      per tick: u32 keys (bit i set: kGhostKeyCodes[i] held),
//                      u32 flags (bit 0 analog mode, bit 1 turbo, bit 2 automatic
//                      gearbox; the other bits 0), 3 f32 axes
//   40+S+20N 60 N      per tick, the body after that tick's step: 3 f64 position,
//                      9 f32 rotation (the orientation's 3x3 block, column-major)
//   end-8    8         u64 checksum: FNV-1a (64-bit) of every byte before it
//
// The start state is the car right after the step on which it touched the start
// line; input k and pose k belong to the k-th step after it (k = 1..N); the N-th
// step touches the line again and ends the lap.

constexpr uint32_t kGhostFormatVersion = 1;
constexpr int kGhostKeyCount = 18;
// The key codes the car reads, in bit order: the eight driving keys, then the
// ten controller codes 256-265.
extern const int kGhostKeyCodes[kGhostKeyCount];
// Thirty minutes of ticks: longer laps are not kept.
constexpr uint32_t kMaxGhostTicks = 30 * 60 * uint32_t(kTicksPerSecond);
constexpr size_t kGhostHeaderBytes = 40;
constexpr size_t kGhostInputBytes = 20;
constexpr size_t kGhostPoseBytes = 60;
constexpr size_t kGhostChecksumBytes = 8;

// Lap flags.
constexpr uint32_t kGhostTurboLap = 1u << 0;

// Input flags.
constexpr uint32_t kGhostAnalog = 1u << 0;
constexpr uint32_t kGhostTurbo = 1u << 1;
constexpr uint32_t kGhostAutoGearbox = 1u << 2;

// What the car read from the input device in one tick, and the menu switches
// it was driven with.
struct GhostInput {
  uint32_t keys = 0;   // bit i: kGhostKeyCodes[i] down
  uint32_t flags = 0;  // kGhostAnalog, kGhostTurbo, kGhostAutoGearbox
  float axes[3] = {0.0f, 0.0f, 0.0f};
};

// The body's pose after one tick.
struct GhostPose {
  Vec3 position{0.0, 0.0, 0.0};  // m
  float rotation[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};  // orientation's 3x3 block, column-major
};

// One lap in memory.
struct GhostLap {
  uint32_t physicsVersion = kPhysicsVersion;
  uint64_t trackId = 0;
  float lapTime = 0.0f;  // s
  LapClass lapClass = LapClass::Plain;
  CarState start;
  std::vector<GhostInput> inputs;  // one per tick of the lap
  std::vector<GhostPose> poses;    // one per tick, as long as inputs
};

// What the car reads from `input` this tick, with the car's menu switches.
GhostInput captureGhostInput(const InputDevice& input, const PhCar& car);
// Puts a recorded tick's keys, axes and analog mode into `input` and its
// switches into the car.
void applyGhostInput(const GhostInput& recorded, InputDevice& input, PhCar& car);
// The body's position and rotation as they stand.
GhostPose captureGhostPose(const PhCar& car);
// Bit for bit the same pose.
bool samePose(const GhostPose& a, const GhostPose& b);

// The size of a start state in the file.
size_t carStateBytes();
// The largest ghost file there can be: a lap of kMaxGhostTicks. A larger file
// is refused by its size before it is read.
size_t maxGhostFileBytes();
// The identity of a track: FNV-1a (64-bit) of its model file's bytes.
uint64_t trackIdentity(const uint8_t* data, size_t size);
// The lap time the timer holds after `ticks` ticks: the tick added in single
// precision, as the timer does.
float lapTimeOfTicks(uint32_t ticks);

// The file image of a lap (inputs and poses must be of equal length, 1..kMaxGhostTicks).
std::vector<uint8_t> encodeGhost(const GhostLap& lap);

// Reads a file image, refusing (false, one reason in `why`) a wrong magic, format
// version, physics version or track, a count out of range, a truncated or
// over-long image, a bad checksum, a lap time other than its ticks give, a
// class other than its ticks give (a turbo lap is one with the turbo on in any
// of its ticks, as the lap timer counts it), and values that are not finite or
// out of range. Does not re-drive the lap (see verifyGhostLap,
// game/laps/ghost_car.h). Never reads outside data[0..size).
bool parseGhost(const uint8_t* data, size_t size, uint64_t expectedTrackId, GhostLap& out, std::string& why);

// encodeGhost written through a temporary file and a rename. False with the
// reason when it fails.
bool saveGhost(const char* path, const GhostLap& lap, std::string& why);
// Reads and parses `path`; false with the reason (or that it cannot be read: not
// a regular file, or larger than maxGhostFileBytes).
bool loadGhost(const char* path, uint64_t expectedTrackId, GhostLap& out, std::string& why);
