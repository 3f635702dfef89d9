#include "game/laps/proof_file.h"

#include "app/fnv1a.h"
#include "vehicle/little_endian.h"

#include <cmath>
#include <cstring>

const uint32_t kProofProgramVersion = STRAVO_VERSION_NUMBER;

namespace {

const char kMagic[8] = {'S', 'T', 'R', 'V', 'G', 'H', 'S', 'T'};
constexpr uint32_t kKnownFlags = kProofTurboLap | kProofClean | kProofSeeded | kProofFromStartUp;
constexpr uint8_t kKnownMask = kChangeKeys | kChangeSwitches | kChangeAxis0 | (kChangeAxis0 << 1) |
                               (kChangeAxis0 << 2) | kChangeRecovery;
constexpr uint32_t kKnownKeys = (1u << kGhostKeyCount) - 1u;
constexpr uint32_t kKnownSwitches = kGhostAnalog | kGhostTurbo | kGhostAutoGearbox;
// The smallest change record: a one-byte tick step and the mask.
constexpr size_t kMinChangeRecordBytes = 2;

void putU32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}
void putU64(std::vector<uint8_t>& out, uint64_t v) {
  for (int i = 0; i < 8; ++i) out.push_back(uint8_t(v >> (8 * i)));
}
void putF32(std::vector<uint8_t>& out, float f) {
  uint32_t bits;
  std::memcpy(&bits, &f, 4);
  putU32(out, bits);
}
void putVarint(std::vector<uint8_t>& out, uint32_t v) {
  while (v >= 0x80) {
    out.push_back(uint8_t(v | 0x80));
    v >>= 7;
  }
  out.push_back(uint8_t(v));
}


// Reads the change records within [p, end): every read checks what is left.
struct RecordReader {
  const uint8_t* p;
  const uint8_t* end;

  bool byte(uint8_t& v) {
    if (p == end) return false;
    v = *p++;
    return true;
  }
  // Canonical little-endian base 128 of at most 5 bytes, fitting 32 bits.
  bool varint(uint32_t& v) {
    uint64_t value = 0;
    for (int i = 0; i < 5; ++i) {
      uint8_t b;
      if (!byte(b)) return false;
      value |= uint64_t(b & 0x7f) << (7 * i);
      if ((b & 0x80) == 0) {
        if (i > 0 && b == 0) return false;
        if (value > 0xffffffffull) return false;
        v = uint32_t(value);
        return true;
      }
    }
    return false;
  }
  bool f32(float& f) {
    if (end - p < 4) return false;
    f = getFloat(p);
    p += 4;
    return true;
  }
};

bool sameBits(float a, float b) { return std::memcmp(&a, &b, 4) == 0; }

std::string atRecord(const char* what, size_t record) {
  return std::string(what) + " in change record " + std::to_string(record + 1);
}

// One change record after `before`; false with the reason.
bool readRecord(RecordReader& r, size_t index, const ProofChange& before, bool first, uint32_t lastTick,
                ProofChange& out, std::string& why) {
  uint32_t step;
  uint8_t mask;
  if (!r.varint(step) || !r.byte(mask)) {
    why = atRecord("truncated or malformed tick step", index);
    return false;
  }
  if (mask == 0 || (mask & ~kKnownMask) != 0) {
    why = atRecord("empty or unknown change mask", index);
    return false;
  }
  if (!first && step == 0) {
    why = atRecord("a second record for one tick", index);
    return false;
  }
  uint64_t tick = first ? uint64_t(step) : uint64_t(before.tick) + step;
  if (tick > lastTick) {
    why = atRecord("a tick beyond the run", index);
    return false;
  }
  out = before;
  out.tick = uint32_t(tick);
  out.recovery = (mask & kChangeRecovery) != 0;
  if (mask & kChangeKeys) {
    uint32_t keys;
    if (!r.varint(keys) || (keys & ~kKnownKeys) != 0 || keys == before.input.keys) {
      why = atRecord("keys malformed, unknown or unchanged", index);
      return false;
    }
    out.input.keys = keys;
  }
  if (mask & kChangeSwitches) {
    uint8_t switches;
    if (!r.byte(switches) || (switches & ~kKnownSwitches) != 0 || switches == before.input.flags) {
      why = atRecord("switches malformed, unknown or unchanged", index);
      return false;
    }
    out.input.flags = switches;
  }
  for (int n = 0; n < 3; ++n) {
    if ((mask & (kChangeAxis0 << n)) == 0) continue;
    float a;
    if (!r.f32(a) || !(a >= -1.0f && a <= 1.0f) || sameBits(a, before.input.axes[n])) {
      why = atRecord("axis truncated, beyond -1..1 or unchanged", index);
      return false;
    }
    out.input.axes[n] = a;
  }
  return true;
}

}  // namespace

std::vector<uint8_t> encodeProof(const LapProof& proof) {
  std::vector<uint8_t> records;
  ProofChange before;
  for (size_t i = 0; i < proof.changes.size(); ++i) {
    const ProofChange& c = proof.changes[i];
    putVarint(records, i == 0 ? c.tick : c.tick - before.tick);
    uint8_t mask = c.recovery ? kChangeRecovery : 0;
    if (c.input.keys != before.input.keys) mask |= kChangeKeys;
    if (c.input.flags != before.input.flags) mask |= kChangeSwitches;
    for (int n = 0; n < 3; ++n)
      if (!sameBits(c.input.axes[n], before.input.axes[n])) mask |= uint8_t(kChangeAxis0 << n);
    records.push_back(mask);
    if (mask & kChangeKeys) putVarint(records, c.input.keys);
    if (mask & kChangeSwitches) records.push_back(uint8_t(c.input.flags));
    for (int n = 0; n < 3; ++n)
      if (mask & (kChangeAxis0 << n)) putF32(records, c.input.axes[n]);
    before = c;
  }

  uint32_t flags = (proof.lapClass == LapClass::Turbo ? kProofTurboLap : 0) | (proof.clean ? kProofClean : 0) |
                   (proof.circuit.seeded ? kProofSeeded : 0) |
                   (proof.start == ProofStart::StartUp ? kProofFromStartUp : 0);
  std::vector<uint8_t> out;
  out.reserve(kProofHeaderBytes + records.size() + kProofChecksumBytes);
  for (char c : kMagic) out.push_back(uint8_t(c));
  putU32(out, kProofFormatVersion);
  putU32(out, proof.physicsVersion);
  putU64(out, proof.circuit.trackId);
  putU32(out, proof.programVersion);
  putU32(out, proof.circuit.generatorVersion);
  putU32(out, proof.circuit.seed);
  putU32(out, flags);
  putU32(out, proof.lapStartTick);
  putU32(out, proof.lapEndTick);
  putF32(out, proof.lapTime);
  for (float s : proof.sectors) putF32(out, s);
  putU64(out, proof.endStateHash);
  putU32(out, uint32_t(proof.changes.size()));
  putU32(out, uint32_t(records.size()));
  out.insert(out.end(), records.begin(), records.end());
  putU64(out, fnv1a(out.data(), out.size()));
  return out;
}

bool parseProof(const uint8_t* data, size_t size, LapProof& out, std::string& why) {
  if (size < 12) {
    why = "truncated: " + std::to_string(size) + " bytes is shorter than the header";
    return false;
  }
  if (std::memcmp(data, kMagic, sizeof(kMagic)) != 0) {
    why = "not a ghost file (wrong magic)";
    return false;
  }
  uint32_t version = getU32(data + 8);
  if (version == 1) {
    why = "made by an older version; it holds no standing start";
    return false;
  }
  if (version != kProofFormatVersion) {
    why = "format version " + std::to_string(version) + ", this program reads version " +
          std::to_string(kProofFormatVersion);
    return false;
  }
  if (size < kProofHeaderBytes + kProofChecksumBytes) {
    why = "truncated: " + std::to_string(size) + " bytes is shorter than the header";
    return false;
  }
  if (size > kMaxProofBytes) {
    why = std::to_string(size) + " bytes is longer than any proof";
    return false;
  }
  uint32_t physics = getU32(data + 12);
  if (physics != kPhysicsVersion) {
    why = "recorded with physics version " + std::to_string(physics) + ", this car is version " +
          std::to_string(kPhysicsVersion);
    return false;
  }
  uint32_t flags = getU32(data + 36);
  uint32_t lapStart = getU32(data + 40);
  uint32_t lapEnd = getU32(data + 44);
  uint32_t count = getU32(data + 72);
  uint32_t recordBytes = getU32(data + 76);
  if (lapEnd >= kMaxProofTicks || lapStart >= lapEnd) {
    why = "impossible lap ticks " + std::to_string(lapStart) + " to " + std::to_string(lapEnd);
    return false;
  }
  size_t expected = kProofHeaderBytes + size_t(recordBytes) + kProofChecksumBytes;
  if (size_t(recordBytes) > size || size < expected) {
    why = "truncated: " + std::to_string(size) + " of " + std::to_string(expected) + " bytes";
    return false;
  }
  if (size > expected) {
    why = std::to_string(size - expected) + " bytes beyond the end of the run";
    return false;
  }
  if (count == 0 || count > lapEnd + 1u || size_t(count) * kMinChangeRecordBytes > recordBytes) {
    why = "impossible change record count " + std::to_string(count);
    return false;
  }
  if (getU64(data + size - kProofChecksumBytes) != fnv1a(data, size - kProofChecksumBytes)) {
    why = "checksum does not match";
    return false;
  }
  if ((flags & ~kKnownFlags) != 0) {
    why = "unknown flags";
    return false;
  }
  float lapTime = getFloat(data + 48);
  if (!std::isfinite(lapTime) || lapTime != lapTimeOfTicks(lapEnd - lapStart)) {
    why = "lap time does not match its " + std::to_string(lapEnd - lapStart) + " ticks";
    return false;
  }

  LapProof proof;
  proof.physicsVersion = physics;
  proof.circuit.trackId = getU64(data + 16);
  proof.programVersion = getU32(data + 24);
  proof.circuit.generatorVersion = getU32(data + 28);
  proof.circuit.seed = getU32(data + 32);
  proof.circuit.seeded = (flags & kProofSeeded) != 0;
  proof.start = (flags & kProofFromStartUp) != 0 ? ProofStart::StartUp : ProofStart::Restart;
  proof.lapClass = lapClassOf((flags & kProofTurboLap) != 0);
  proof.clean = (flags & kProofClean) != 0;
  proof.lapStartTick = lapStart;
  proof.lapEndTick = lapEnd;
  proof.lapTime = lapTime;
  for (int k = 0; k < 3; ++k) proof.sectors[k] = getFloat(data + 52 + 4 * k);
  proof.endStateHash = getU64(data + 64);
  if (!proof.circuit.seeded && proof.circuit.seed != 0) {
    why = "a seed for the default circuit";
    return false;
  }

  proof.changes.resize(count);
  RecordReader r{data + kProofHeaderBytes, data + kProofHeaderBytes + recordBytes};
  ProofChange before;
  for (uint32_t i = 0; i < count; ++i) {
    if (!readRecord(r, i, before, i == 0, lapEnd, proof.changes[i], why)) return false;
    before = proof.changes[i];
  }
  if (r.p != r.end) {
    why = std::to_string(r.end - r.p) + " bytes after the last change record";
    return false;
  }
  out = std::move(proof);
  return true;
}
