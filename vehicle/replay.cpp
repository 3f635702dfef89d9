#include "vehicle/replay.h"

#include "app/failed_saves.h"
#include "app/files.h"
#include "app/log.h"
#include "vehicle/car.h"
#include "vehicle/little_endian.h"

#include <cstring>
#include <vector>

namespace {

void putU32(uint8_t* out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out[i] = uint8_t(v >> (8 * i));
}
void putU64(uint8_t* out, uint64_t v) {
  for (int i = 0; i < 8; ++i) out[i] = uint8_t(v >> (8 * i));
}
void putFloat(uint8_t* out, float f) {
  uint32_t bits;
  std::memcpy(&bits, &f, 4);
  putU32(out, bits);
}
void putDouble(uint8_t* out, double d) {
  uint64_t bits;
  std::memcpy(&bits, &d, 8);
  putU64(out, bits);
}
double getDouble(const uint8_t* in) {
  uint64_t bits = getU64(in);
  double d;
  std::memcpy(&d, &bits, 8);
  return d;
}

void encodeFrame(const ReplayFrame& frame, uint8_t* out) {
  putFloat(out + 0, frame.throttle);
  putFloat(out + 4, frame.steerAngle);
  for (int i = 0; i < 4; ++i) putFloat(out + 8 + 4 * i, frame.brakes[i]);
  putU32(out + 24, uint32_t(frame.shiftRequest));
  putU32(out + 28, 0);
  for (int i = 0; i < 3; ++i) putDouble(out + 32 + 8 * i, frame.position[i]);
  for (int i = 0; i < 3; ++i) putDouble(out + 56 + 8 * i, frame.velocity[i]);
}

bool within(float value, float low, float high) { return value >= low && value <= high; }

// False when a control that would reach the wheels lies outside what the car
// itself ever records (not a number included): played back, it would drive the
// engine or the tyres to infinity.
bool decodeFrame(const uint8_t* in, ReplayFrame& frame) {
  frame.throttle = getFloat(in + 0);
  frame.steerAngle = getFloat(in + 4);
  bool sound = within(frame.throttle, 0.0f, 1.0f) && within(frame.steerAngle, -0.75f, 0.75f);
  for (int i = 0; i < 4; ++i) {
    frame.brakes[i] = getFloat(in + 8 + 4 * i);
    sound = sound && within(frame.brakes[i], 0.0f, 1.0f);
  }
  frame.shiftRequest = int32_t(getU32(in + 24));
  sound = sound && frame.shiftRequest >= -1 && frame.shiftRequest <= 1;
  frame.reserved = 0;
  for (int i = 0; i < 3; ++i) frame.position[i] = getDouble(in + 32 + 8 * i);
  for (int i = 0; i < 3; ++i) frame.velocity[i] = getDouble(in + 56 + 8 * i);
  return sound;
}

}  // namespace

void playReplayFrame(PhCar& car) {
  if (car.replayCursor < 0 || car.replayCursor >= car.replayCount || car.replayCount > kReplayCapacity) {
    car.replayPlaying = false;
    return;
  }
  const ReplayFrame& frame = car.replayFrames[car.replayCursor];
  car.throttle = frame.throttle;
  car.tick.steerAngleOut = frame.steerAngle;
  for (int i = 0; i < 4; ++i) car.wheels[i].brake = frame.brakes[i];
  car.tick.shiftRequest = frame.shiftRequest;
  car.replayCursor += 1;
  if (car.replayCursor >= car.replayCount) car.replayPlaying = false;
}

void recordReplayFrame(PhCar& car) {
  // A full buffer keeps what it has; the recording is still saved at the end.
  if (car.replayCursor < 0 || car.replayCursor >= kReplayCapacity) return;
  ReplayFrame& frame = car.replayFrames[car.replayCursor];
  frame.throttle = car.throttle;
  frame.steerAngle = car.tick.steerAngleOut;
  for (int i = 0; i < 4; ++i) frame.brakes[i] = car.wheels[i].brake;
  frame.shiftRequest = car.tick.shiftRequest;
  frame.reserved = 0;
  const Vec3& p = car.current.position;
  const Vec3& v = car.current.velocity;
  frame.position[0] = p.x;
  frame.position[1] = p.y;
  frame.position[2] = p.z;
  frame.velocity[0] = v.x;
  frame.velocity[1] = v.y;
  frame.velocity[2] = v.z;
  car.replayCursor += 1;
  car.replayCount += 1;
}

size_t replayFileMaxBytes() { return kReplayCountBytes + kReplayFrameBytes * size_t(kReplayCapacity); }

bool saveReplay(const PhCar& car, const char* path) {
  int32_t count = car.replayCount;
  if (count < 0) count = 0;
  if (count > kReplayCapacity) count = kReplayCapacity;
  std::vector<uint8_t> image(kReplayCountBytes + kReplayFrameBytes * size_t(count));
  putU32(image.data(), uint32_t(count));
  for (int32_t i = 0; i < count; ++i)
    encodeFrame(car.replayFrames[i], image.data() + kReplayCountBytes + kReplayFrameBytes * size_t(i));
  std::string why;
  if (!writeFileAtomically(path, image.data(), image.size(), why)) {
    logLine("PhCar: Cannot create %s, replay not saved", path);
    reportFailedSave(path, why);
    return false;
  }
  return true;
}

bool parseReplay(const uint8_t* data, size_t size, PhCar& car, std::string& why) {
  if (size < kReplayCountBytes) {
    why = "shorter than its frame count";
    return false;
  }
  int32_t count = int32_t(getU32(data));
  if (count < 0 || count > kReplayCapacity) {
    why = "frame count " + std::to_string(count) + " outside 0.." + std::to_string(kReplayCapacity);
    return false;
  }
  if (size != kReplayCountBytes + kReplayFrameBytes * size_t(count)) {
    why = "frame count " + std::to_string(count) + " does not match the size of " + std::to_string(size) +
          " bytes";
    return false;
  }
  // Decode into a scratch buffer first so that a bad frame leaves the car as it was.
  std::vector<ReplayFrame> frames(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) {
    if (!decodeFrame(data + kReplayCountBytes + kReplayFrameBytes * size_t(i), frames[size_t(i)])) {
      why = "frame " + std::to_string(i) + " holds a control out of its range";
      return false;
    }
  }
  for (int32_t i = 0; i < count; ++i) car.replayFrames[i] = frames[size_t(i)];
  car.replayCount = count;
  car.replayCursor = 0;
  car.replayPlaying = count > 0;
  return true;
}

bool loadReplay(PhCar& car, const char* path) {
  std::vector<unsigned char> bytes;
  std::string why;
  if (!readWholeFile(path, replayFileMaxBytes(), bytes, why)) {
    logLine("PhCar: Cannot read replay %s: %s", path, why.c_str());
    return false;
  }
  if (!parseReplay(bytes.data(), bytes.size(), car, why)) {
    logLine("PhCar: Bad replay %s: %s", path, why.c_str());
    return false;
  }
  return true;
}
