#include "game/best_times.h"

#include "app/failed_saves.h"
#include "app/files.h"
#include "app/log.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

float readFloatLE(const uint8_t* p) {
  uint32_t bits = uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
  float value;
  std::memcpy(&value, &bits, sizeof(value));
  return value;
}

void writeFloatLE(float value, uint8_t* p) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof(bits));
  p[0] = uint8_t(bits);
  p[1] = uint8_t(bits >> 8);
  p[2] = uint8_t(bits >> 16);
  p[3] = uint8_t(bits >> 24);
}

}  // namespace

int offerLap(BestTimes& table, float lapTime, LapClass lapClass) {
  int first = firstPlaceOf(lapClass);
  int last = first + kBestTimesPerClass - 1;
  for (int i = first; i <= last; ++i) {
    // Strictly faster only: an equal time stays behind the older lap.
    if (lapTime < table.entries[i]) {
      for (int j = last; j > i; --j) table.entries[j] = table.entries[j - 1];
      table.entries[i] = lapTime;
      return i;
    }
  }
  return -1;
}

float bestOfClass(const BestTimes& table, LapClass lapClass) {
  return table.entries[firstPlaceOf(lapClass)];
}

int parseBestTimes(const uint8_t* data, size_t size, BestTimes& table, int& rejected) {
  int count = int(size / 4);
  if (count > kBestTimeCount) count = kBestTimeCount;
  rejected = 0;
  for (int i = 0; i < count; ++i) {
    float t = readFloatLE(data + 4 * i);
    // Zero is a time (no lap beats it); a negative or non-finite one is not.
    if (std::isfinite(t) && t >= 0.0f) {
      table.entries[i] = t;
    } else {
      table.entries[i] = kEmptyLapTime;
      ++rejected;
    }
  }
  return count;
}

void serializeBestTimes(const BestTimes& table, uint8_t out[kBestTimesFileSize]) {
  for (int i = 0; i < kBestTimeCount; ++i) writeFloatLE(table.entries[i], out + 4 * i);
}

bool loadBestTimes(const char* path, BestTimes& table) {
  table = BestTimes();
  std::string why;
  FILE* file = openRegularFile(path, why);
  if (file == nullptr) {
    if (pathExists(path)) logLine("Main: Could not read \"%s\": %s", path, why.c_str());
    return false;
  }
  // One byte more than the table tells a longer file from an exact one.
  uint8_t bytes[kBestTimesFileSize + 1];
  size_t size = std::fread(bytes, 1, sizeof(bytes), file);
  bool readError = std::ferror(file) != 0;
  std::fclose(file);
  if (readError) {
    logLine("Main: Could not read \"%s\"", path);
    return false;
  }
  int rejected = 0;
  int taken = parseBestTimes(bytes, size, table, rejected);
  if (size != kBestTimesFileSize)
    logLine("Main: \"%s\" is not %zu bytes long; took %i complete times", path, kBestTimesFileSize, taken);
  if (rejected > 0) logLine("Main: \"%s\" holds %i values that are no lap times; left those places empty", path, rejected);
  return true;
}

bool saveBestTimes(const char* path, const BestTimes& table) {
  uint8_t image[kBestTimesFileSize];
  serializeBestTimes(table, image);
  std::string why;
  if (writeFileAtomically(path, image, sizeof(image), why)) return true;
  logLine("Main: Could not save \"%s\"", path);
  reportFailedSave(path, why);
  return false;
}
