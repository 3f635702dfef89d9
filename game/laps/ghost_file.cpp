#include "game/laps/ghost_file.h"

#include "app/files.h"
#include "app/fnv1a.h"
#include "app/input_device.h"
#include "game/game_state.h"
#include "vehicle/car.h"

#include <cmath>
#include <cstdio>
#include <cstring>

const int kGhostKeyCodes[kGhostKeyCount] = {
    kKeyClutch, kKeyThrottle, kKeyBrake, kKeyRight, kKeyLeft, kKeyHandbrake, kKeyShiftUp, kKeyShiftDown,
    256,        257,          258,       259,       260,      261,           262,         263,
    264,        265};

namespace {

const char kMagic[8] = {'S', 'T', 'R', 'V', 'G', 'H', 'S', 'T'};
constexpr uint32_t kKnownLapFlags = kGhostTurboLap;
constexpr uint32_t kKnownInputFlags = kGhostAnalog | kGhostTurbo | kGhostAutoGearbox;
constexpr uint32_t kKnownKeys = (1u << kGhostKeyCount) - 1u;

// The 3x3 block of a column-major Mat4.
constexpr int kRotationElements[9] = {0, 1, 2, 4, 5, 6, 8, 9, 10};

// Appends little-endian values.
struct Writer {
  std::vector<uint8_t>& out;

  void u8(uint8_t v) { out.push_back(v); }
  void u32(uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
  }
  void u64(uint64_t v) {
    for (int i = 0; i < 8; ++i) out.push_back(uint8_t(v >> (8 * i)));
  }
  void f32(float f) {
    uint32_t bits;
    std::memcpy(&bits, &f, 4);
    u32(bits);
  }
  void f64(double d) {
    uint64_t bits;
    std::memcpy(&bits, &d, 8);
    u64(bits);
  }
  void vec3(const Vec3& v) {
    f64(v.x);
    f64(v.y);
    f64(v.z);
  }

  // The leaf values of a car state.
  void operator()(const bool& v, const bool&) { u8(v ? 1 : 0); }
  void operator()(const int32_t& v, const int32_t&) { u32(uint32_t(v)); }
  void operator()(const float& v, const float&) { f32(v); }
  void operator()(const double& v, const double&) { f64(v); }
  void operator()(const Vec3& v, const Vec3&) { vec3(v); }
  void operator()(const Mat4& v, const Mat4&) {
    for (float e : v.m) f32(e);
  }
};

// Reads little-endian values from a range the caller has checked is long enough.
struct Reader {
  const uint8_t* p;
  bool sound = true;  // false once a value is not finite or a bool is neither 0 nor 1

  uint8_t u8() { return *p++; }
  uint32_t u32() {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | p[i];
    p += 4;
    return v;
  }
  uint64_t u64() {
    uint64_t v = 0;
    for (int i = 7; i >= 0; --i) v = (v << 8) | p[i];
    p += 8;
    return v;
  }
  float f32() {
    uint32_t bits = u32();
    float f;
    std::memcpy(&f, &bits, 4);
    if (!std::isfinite(f)) sound = false;
    return f;
  }
  double f64() {
    uint64_t bits = u64();
    double d;
    std::memcpy(&d, &bits, 8);
    if (!std::isfinite(d)) sound = false;
    return d;
  }
  Vec3 vec3() {
    double x = f64(), y = f64(), z = f64();
    return Vec3(x, y, z);
  }

  void operator()(bool& v, bool&) {
    uint8_t b = u8();
    if (b > 1) sound = false;
    v = b == 1;
  }
  void operator()(int32_t& v, int32_t&) { v = int32_t(u32()); }
  void operator()(float& v, float&) { v = f32(); }
  void operator()(double& v, double&) { v = f64(); }
  void operator()(Vec3& v, Vec3&) { v = vec3(); }
  void operator()(Mat4& v, Mat4&) {
    for (float& e : v.m) e = f32();
  }
};

struct Counter {
  size_t bytes = 0;
  void operator()(const bool&, const bool&) { bytes += 1; }
  void operator()(const int32_t&, const int32_t&) { bytes += 4; }
  void operator()(const float&, const float&) { bytes += 4; }
  void operator()(const double&, const double&) { bytes += 8; }
  void operator()(const Vec3&, const Vec3&) { bytes += 24; }
  void operator()(const Mat4&, const Mat4&) { bytes += 64; }
};

bool inRange(int32_t v, int32_t low, int32_t high) { return v >= low && v <= high; }

// The whole numbers the car indexes or counts with, within what the car itself
// ever holds (with room to spare), so that no stored value can take the step
// outside its tables or overflow a counter.
bool countersInRange(const CarState& s) {
  constexpr int32_t kLongestPhase = 1000;  // ticks
  bool ok = inRange(s.gear, 1, 5) && inRange(s.revLimited, 0, 1) && inRange(s.shiftTimer, 0, kLongestPhase) &&
            inRange(s.shiftDeclutchTicks, 1, kLongestPhase) && inRange(s.shiftEngageTicks, 1, kLongestPhase) &&
            inRange(s.shiftDirection, -1, 1) && inRange(s.shiftHold, 0, kLongestPhase) &&
            inRange(s.tick.shiftRequest, -1, 1);
  for (const CarWheel& w : s.wheels) ok = ok && inRange(w.surface, 0, 1 << 20);
  return ok;
}

std::string tickText(const char* what, size_t tick) {
  return std::string(what) + " at tick " + std::to_string(tick + 1);
}

}  // namespace

size_t carStateBytes() {
  static const size_t bytes = [] {
    CarState s;
    Counter c;
    visitCarState(s, s, c);
    return c.bytes;
  }();
  return bytes;
}

size_t maxGhostFileBytes() {
  return kGhostHeaderBytes + carStateBytes() + size_t(kMaxGhostTicks) * (kGhostInputBytes + kGhostPoseBytes) +
         kGhostChecksumBytes;
}

uint64_t trackIdentity(const uint8_t* data, size_t size) { return fnv1a(data, size); }

float lapTimeOfTicks(uint32_t ticks) {
  float t = 0.0f;
  for (uint32_t i = 0; i < ticks; ++i) t += kTickSeconds;
  return t;
}

std::vector<uint8_t> encodeGhost(const GhostLap& lap) {
  size_t ticks = lap.inputs.size();
  std::vector<uint8_t> out;
  out.reserve(kGhostHeaderBytes + carStateBytes() + ticks * (kGhostInputBytes + kGhostPoseBytes) +
              kGhostChecksumBytes);
  Writer w{out};
  for (char c : kMagic) w.u8(uint8_t(c));
  w.u32(kGhostFormatVersion);
  w.u32(lap.physicsVersion);
  w.u64(lap.trackId);
  w.f32(lap.lapTime);
  w.u32(uint32_t(ticks));
  w.u32(lap.lapClass == LapClass::Turbo ? kGhostTurboLap : 0u);
  w.u32(uint32_t(carStateBytes()));
  visitCarState(lap.start, lap.start, w);
  for (const GhostInput& in : lap.inputs) {
    w.u32(in.keys);
    w.u32(in.flags);
    for (float a : in.axes) w.f32(a);
  }
  for (const GhostPose& pose : lap.poses) {
    w.vec3(pose.position);
    for (float e : pose.rotation) w.f32(e);
  }
  w.u64(fnv1a(out.data(), out.size()));
  return out;
}

bool parseGhost(const uint8_t* data, size_t size, uint64_t expectedTrackId, GhostLap& out, std::string& why) {
  if (size < kGhostHeaderBytes + kGhostChecksumBytes) {
    why = "truncated: " + std::to_string(size) + " bytes is shorter than the header";
    return false;
  }
  if (std::memcmp(data, kMagic, sizeof(kMagic)) != 0) {
    why = "not a ghost file (wrong magic)";
    return false;
  }
  Reader r{data + sizeof(kMagic)};
  uint32_t version = r.u32();
  if (version != kGhostFormatVersion) {
    why = "format version " + std::to_string(version) + ", this program reads version " +
          std::to_string(kGhostFormatVersion);
    return false;
  }
  uint32_t physics = r.u32();
  if (physics != kPhysicsVersion) {
    why = "recorded with physics version " + std::to_string(physics) + ", this car is version " +
          std::to_string(kPhysicsVersion);
    return false;
  }
  uint64_t track = r.u64();
  if (track != expectedTrackId) {
    why = "driven on another track";
    return false;
  }
  float lapTime = r.f32();
  uint32_t ticks = r.u32();
  uint32_t lapFlags = r.u32();
  uint32_t stateBytes = r.u32();
  if (ticks == 0 || ticks > kMaxGhostTicks) {
    why = "impossible tick count " + std::to_string(ticks);
    return false;
  }
  if (stateBytes != carStateBytes()) {
    why = "impossible start-state size " + std::to_string(stateBytes) + " (the car's is " +
          std::to_string(carStateBytes()) + ")";
    return false;
  }
  size_t expected = kGhostHeaderBytes + stateBytes + size_t(ticks) * (kGhostInputBytes + kGhostPoseBytes) +
                    kGhostChecksumBytes;
  if (size < expected) {
    why = "truncated: " + std::to_string(size) + " of " + std::to_string(expected) + " bytes";
    return false;
  }
  if (size > expected) {
    why = std::to_string(size - expected) + " bytes beyond the end of the lap";
    return false;
  }
  Reader tail{data + size - kGhostChecksumBytes};
  if (tail.u64() != fnv1a(data, size - kGhostChecksumBytes)) {
    why = "checksum does not match";
    return false;
  }
  if ((lapFlags & ~kKnownLapFlags) != 0) {
    why = "unknown lap flags";
    return false;
  }
  if (!r.sound || lapTime != lapTimeOfTicks(ticks)) {
    why = "lap time does not match its " + std::to_string(ticks) + " ticks";
    return false;
  }

  GhostLap lap;
  lap.physicsVersion = physics;
  lap.trackId = track;
  lap.lapTime = lapTime;
  lap.lapClass = lapClassOf((lapFlags & kGhostTurboLap) != 0);
  std::memset(static_cast<void*>(&lap.start), 0, sizeof(lap.start));
  visitCarState(lap.start, lap.start, r);
  if (!r.sound) {
    why = "start state holds a value that is not finite or not a truth value";
    return false;
  }
  if (!countersInRange(lap.start)) {
    why = "start state holds a gear or a counter out of range";
    return false;
  }
  lap.inputs.resize(ticks);
  bool turboInTicks = false;
  for (size_t k = 0; k < ticks; ++k) {
    GhostInput& in = lap.inputs[k];
    in.keys = r.u32();
    in.flags = r.u32();
    for (float& a : in.axes) a = r.f32();
    if ((in.keys & ~kKnownKeys) != 0 || (in.flags & ~kKnownInputFlags) != 0) {
      why = tickText("unknown input bits", k);
      return false;
    }
    for (float a : in.axes)
      if (!r.sound || !(a >= -1.0f && a <= 1.0f)) {
        why = tickText("input axis not finite or beyond -1..1", k);
        return false;
      }
    turboInTicks = turboInTicks || (in.flags & kGhostTurbo) != 0;
  }
  if (lap.lapClass != lapClassOf(turboInTicks)) {
    why = turboInTicks ? "marked as a lap without the turbo, but the turbo is on in its ticks"
                       : "marked as a turbo lap, but the turbo is off in every tick";
    return false;
  }
  lap.poses.resize(ticks);
  for (size_t k = 0; k < ticks; ++k) {
    GhostPose& pose = lap.poses[k];
    pose.position = r.vec3();
    for (float& e : pose.rotation) e = r.f32();
    if (!r.sound) {
      why = tickText("pose not finite", k);
      return false;
    }
  }
  out = std::move(lap);
  return true;
}

bool saveGhost(const char* path, const GhostLap& lap, std::string& why) {
  std::vector<uint8_t> image = encodeGhost(lap);
  return writeFileAtomically(path, image.data(), image.size(), why);
}

bool loadGhost(const char* path, uint64_t expectedTrackId, GhostLap& out, std::string& why) {
  std::vector<unsigned char> bytes;
  if (!readWholeFile(path, maxGhostFileBytes(), bytes, why)) return false;
  return parseGhost(bytes.data(), bytes.size(), expectedTrackId, out, why);
}

GhostInput captureGhostInput(const InputDevice& input, const PhCar& car) {
  GhostInput in;
  for (int i = 0; i < kGhostKeyCount; ++i)
    if (input.isDown(kGhostKeyCodes[i])) in.keys |= 1u << i;
  if (input.isAnalog()) in.flags |= kGhostAnalog;
  if (car.turbo) in.flags |= kGhostTurbo;
  if (car.autoGearbox) in.flags |= kGhostAutoGearbox;
  for (int n = 0; n < 3; ++n) in.axes[n] = input.axis(n);
  return in;
}

void applyGhostInput(const GhostInput& recorded, InputDevice& input, PhCar& car) {
  for (int i = 0; i < kGhostKeyCount; ++i) {
    int code = kGhostKeyCodes[i];
    bool down = (recorded.keys & (1u << i)) != 0;
    if (code < 256)
      input.keys[code] = down ? 0x80 : 0;
    else
      input.joystickKeys[code - 256] = down ? 1 : 0;
  }
  input.setAnalog((recorded.flags & kGhostAnalog) != 0);
  for (int n = 0; n < 3; ++n) input.axes[n] = recorded.axes[n];
  car.turbo = (recorded.flags & kGhostTurbo) != 0;
  car.autoGearbox = (recorded.flags & kGhostAutoGearbox) != 0;
}

GhostPose captureGhostPose(const PhCar& car) {
  GhostPose pose;
  pose.position = car.current.position;
  for (int i = 0; i < 9; ++i) pose.rotation[i] = car.current.orientation.m[kRotationElements[i]];
  return pose;
}

bool samePose(const GhostPose& a, const GhostPose& b) {
  return std::memcmp(&a.position, &b.position, sizeof(Vec3)) == 0 &&
         std::memcmp(a.rotation, b.rotation, sizeof(a.rotation)) == 0;
}
