#pragma once

#include "physics/vec3.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// One tree: where it stands and which way it faces (degrees about the vertical).
struct PropRecord {
  Vec3 position{0.0, 0.0, 0.0};
  float heading = 0.0f;
};

// The contents of data\trees.prp: the start of the drive and the trees.
struct PropFile {
  Vec3 startPosition{0.0, 0.0, 0.0};
  float startHeading = 0.0f;  // degrees
  int declaredCount = 0;      // the count the file gives
  std::vector<PropRecord> props;  // the complete records, in file order
};

// Size of the fixed header (start position, heading, count) and of one record.
constexpr size_t kPropHeaderBytes = 32;
constexpr size_t kPropRecordBytes = 28;
// A million trees: a larger file is refused by its size before it is read.
constexpr size_t kMaxPropFileBytes = kPropHeaderBytes + kPropRecordBytes * (size_t(1) << 20);

// Parses the little-endian prop file from a byte buffer. A file shorter than
// its count gives only the complete records; a record whose position or
// heading is not a finite number is left out. False (with `why`) when the
// header is cut short or the start itself is not finite; `out` is then left
// as it was.
bool parsePropFile(const uint8_t* data, size_t size, PropFile& out, std::string& why);

// Reads and parses `path` (back-slash separators). False when the file cannot
// be read or its header is unusable; a malformed file is logged with its name
// and the reason, a missing one is not.
bool readPropFile(const char* path, PropFile& out);

// Where a restart puts the car: 20 m back along the heading and 0.7 m up.
Vec3 restartPosition(const Vec3& startPosition, float startHeading);
