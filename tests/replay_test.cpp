#include "vehicle/replay.h"

#include "tests/vehicle_test_track.h"
#include "vehicle/car.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

std::vector<uint8_t> readBytes(const char* path) {
  std::vector<uint8_t> bytes;
  std::FILE* f = std::fopen(path, "rb");
  if (f == nullptr) return bytes;
  int c;
  while ((c = std::fgetc(f)) != EOF) bytes.push_back(uint8_t(c));
  std::fclose(f);
  return bytes;
}

// A drive on flat ground: throttle, a left turn and brakes, with upshifts.
void drive(TestTrack& track, int ticks) {
  for (int i = 0; i < ticks; ++i) {
    track.press(kKeyThrottle, i < 250);
    track.press(kKeyLeft, i > 120 && i < 160);
    track.press(kKeyBrake, i >= 250);
    track.run(1);
  }
  track.press(kKeyThrottle, false);
  track.press(kKeyLeft, false);
  track.press(kKeyBrake, false);
}

}  // namespace

TEST(Replay, PlaybackReproducesTheRecordedDriveThenHandsBackControl) {
  const char* path = "replay_test_drive.vlr";
  std::remove(path);
  const int n = 300;
  std::vector<Vec3> recorded;
  {
    TestTrack track;
    buildFlatTrack(track);
    track.car->replayPath = path;
    track.car->replayRecording = true;
    drive(track, n);
    EXPECT_EQ(track.car->replayCount, n);
    int changes = 0;
    for (int i = 0; i < n; ++i) changes += track.car->replayFrames[i].shiftRequest != 0;
    EXPECT_GE(changes, 1);
    EXPECT_LE(changes, 3);  // one +1 per change, on the tick it was requested
    for (int i = 0; i < n; ++i) {
      const ReplayFrame& f = track.car->replayFrames[i];
      recorded.push_back(Vec3(f.position[0], f.position[1], f.position[2]));
    }
  }
  std::vector<uint8_t> bytes = readBytes(path);
  ASSERT_EQ(bytes.size(), 4u + 80u * n);

  TestTrack track;
  buildFlatTrack(track);
  ASSERT_TRUE(loadReplay(*track.car, path));
  EXPECT_TRUE(track.car->replayPlaying);
  for (int i = 0; i < n; ++i) {
    EXPECT_TRUE(track.car->replayPlaying) << i;
    const Vec3 p = track.car->current.position;
    ASSERT_EQ(p.x, recorded[size_t(i)].x) << i;
    ASSERT_EQ(p.y, recorded[size_t(i)].y) << i;
    ASSERT_EQ(p.z, recorded[size_t(i)].z) << i;
    track.run(1);
  }
  EXPECT_FALSE(track.car->replayPlaying);
  // Tick n + 1 belongs to the driver again.
  track.press(kKeyThrottle, true);
  float before = track.car->throttle;
  track.run(1);
  EXPECT_GT(track.car->throttle, before);
  EXPECT_EQ(track.car->replayCursor, n);
  std::remove(path);
}

TEST(Replay, FullBufferStopsRecordingButKeepsWhatItHas) {
  auto car = std::make_unique<PhCar>();
  car->replayRecording = true;
  car->replayCursor = kReplayCapacity - 1;
  car->replayCount = kReplayCapacity - 1;
  car->throttle = 0.5f;
  recordReplayFrame(*car);
  recordReplayFrame(*car);
  EXPECT_EQ(car->replayCount, kReplayCapacity);
  EXPECT_EQ(car->replayFrames[kReplayCapacity - 1].throttle, 0.5f);
  EXPECT_TRUE(car->replayRecording);
  car->replayRecording = false;  // nothing to save from this test
}

TEST(Replay, UnwritableFileIsSkipped) {
  auto car = std::make_unique<PhCar>();
  car->replayRecording = true;
  car->replayPath = "no_such_folder/replay.vlr";
  EXPECT_FALSE(saveReplay(*car, car->replayPath));
}

TEST(Replay, MalformedImagesAreRejectedAndLeaveTheCarAlone) {
  auto car = std::make_unique<PhCar>();
  std::string why;
  uint8_t image[4 + 80 * 2] = {};
  image[0] = 2;
  EXPECT_TRUE(parseReplay(image, sizeof(image), *car, why));
  EXPECT_EQ(car->replayCount, 2);
  EXPECT_TRUE(car->replayPlaying);

  auto fresh = std::make_unique<PhCar>();
  EXPECT_FALSE(parseReplay(image, 3, *fresh, why));
  EXPECT_FALSE(parseReplay(image, sizeof(image) - 1, *fresh, why));
  EXPECT_NE(why.find("does not match"), std::string::npos);
  image[0] = 3;
  EXPECT_FALSE(parseReplay(image, sizeof(image), *fresh, why));
  uint8_t negative[4] = {0xff, 0xff, 0xff, 0xff};
  EXPECT_FALSE(parseReplay(negative, sizeof(negative), *fresh, why));
  // A count beyond the buffer is refused even when the size would match it.
  uint8_t huge[4] = {0x51, 0xc3, 0x00, 0x00};  // 50001
  EXPECT_FALSE(parseReplay(huge, sizeof(huge), *fresh, why));
  // Controls the car never records: not a number, a throttle past full, a brake
  // below zero, a steering angle past full lock, a shift request of 2.
  image[0] = 2;
  struct BadField {
    size_t offset;  // within frame 1
    float value;
  };
  const BadField badFloats[] = {{0, std::nanf("")}, {0, 1e30f}, {8, -0.5f}, {4, 0.8f}};
  for (const BadField& bad : badFloats) {
    uint8_t copy[sizeof(image)];
    std::memcpy(copy, image, sizeof(image));
    std::memcpy(copy + 4 + 80 + bad.offset, &bad.value, 4);
    EXPECT_FALSE(parseReplay(copy, sizeof(copy), *fresh, why)) << bad.offset << " " << bad.value;
  }
  image[4 + 80 + 24] = 2;
  EXPECT_FALSE(parseReplay(image, sizeof(image), *fresh, why));
  EXPECT_NE(why.find("frame 1"), std::string::npos);
  EXPECT_EQ(fresh->replayCount, 0);
  EXPECT_FALSE(fresh->replayPlaying);
}
