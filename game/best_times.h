#pragma once

#include "game/lap_class.h"

#include <cstddef>
#include <cstdint>

// An empty place of the table; it reads 9:59.99 on the display.
constexpr float kEmptyLapTime = 599.995f;
constexpr int kBestTimeCount = 10;
constexpr int kBestTimesPerClass = 5;
constexpr size_t kBestTimesFileSize = kBestTimeCount * 4;

// The ten best laps in seconds: entries 0-4 without the turbo, 5-9 with it,
// each class fastest first.
struct BestTimes {
  float entries[kBestTimeCount] = {kEmptyLapTime, kEmptyLapTime, kEmptyLapTime, kEmptyLapTime,
                                   kEmptyLapTime, kEmptyLapTime, kEmptyLapTime, kEmptyLapTime,
                                   kEmptyLapTime, kEmptyLapTime};
};

// Enters a lap into its class when it beats a place there; an equal time goes
// behind the older lap. Returns the index it took, or -1.
int offerLap(BestTimes& table, float lapTime, LapClass lapClass);

// The index of a class's first place: entry 0 or entry 5.
constexpr int firstPlaceOf(LapClass lapClass) { return classIndex(lapClass) * kBestTimesPerClass; }
// The class's best time: its first place.
float bestOfClass(const BestTimes& table, LapClass lapClass);

// Takes the complete little-endian floats at the start of `data` (at most ten)
// into the leading entries; the rest keep their values. A value that is not a
// time (negative, infinite or not a number) leaves its place empty and is
// counted in `rejected`. Returns how many values were read.
int parseBestTimes(const uint8_t* data, size_t size, BestTimes& table, int& rejected);

// The 40-byte file image: ten little-endian floats in table order.
void serializeBestTimes(const BestTimes& table, uint8_t out[kBestTimesFileSize]);

// Resets the table to empty places and reads `path` over it when it exists.
// A file of another length than 40 bytes is logged, and so is one that is there
// but is no regular file. False when it cannot be read.
bool loadBestTimes(const char* path, BestTimes& table);

// Writes a temporary file beside `path` and renames it over the old table, so a
// crash never leaves a truncated one. False when either step fails; the
// failure is logged ("Main: Could not save "%s"") and reported.
bool saveBestTimes(const char* path, const BestTimes& table);
