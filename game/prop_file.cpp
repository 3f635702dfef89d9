#include "game/prop_file.h"

#include "app/files.h"
#include "app/log.h"

#include <cmath>
#include <cstring>

namespace {

double readFloat64(const uint8_t* p) {
  uint64_t bits = 0;
  for (int i = 7; i >= 0; --i) bits = (bits << 8) | p[i];
  double v;
  std::memcpy(&v, &bits, sizeof(v));
  return v;
}

float readFloat32(const uint8_t* p) {
  uint32_t bits = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 |
                  uint32_t(p[3]) << 24;
  float v;
  std::memcpy(&v, &bits, sizeof(v));
  return v;
}

int32_t readInt32(const uint8_t* p) {
  uint32_t bits = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 |
                  uint32_t(p[3]) << 24;
  int32_t v;
  std::memcpy(&v, &bits, sizeof(v));
  return v;
}

Vec3 readVec3(const uint8_t* p) { return Vec3{readFloat64(p), readFloat64(p + 8), readFloat64(p + 16)}; }

bool finite(const Vec3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

}  // namespace

bool parsePropFile(const uint8_t* data, size_t size, PropFile& out, std::string& why) {
  if (size < kPropHeaderBytes) {
    why = "shorter than its 32-byte header";
    return false;
  }
  PropFile file;
  file.startPosition = readVec3(data);
  file.startHeading = readFloat32(data + 24);
  file.declaredCount = readInt32(data + 28);
  if (!finite(file.startPosition) || !std::isfinite(file.startHeading)) {
    why = "start position or heading is not a number";
    return false;
  }

  // Only records that lie wholly inside the buffer are read, however many the
  // count promises; a negative count gives none.
  size_t available = (size - kPropHeaderBytes) / kPropRecordBytes;
  size_t wanted = file.declaredCount > 0 ? size_t(file.declaredCount) : 0;
  size_t count = wanted < available ? wanted : available;
  file.props.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* rec = data + kPropHeaderBytes + i * kPropRecordBytes;
    PropRecord prop;
    prop.position = readVec3(rec);
    prop.heading = readFloat32(rec + 24);
    if (finite(prop.position) && std::isfinite(prop.heading)) file.props.push_back(prop);
  }

  if (file.props.size() != wanted) {
    why = "holds " + std::to_string(file.props.size()) + " usable props of " +
          std::to_string(file.declaredCount);
  } else {
    why.clear();
  }
  out = std::move(file);
  return true;
}

bool readPropFile(const char* path, PropFile& out) {
  std::vector<unsigned char> bytes;
  std::string why;
  if (!readWholeFile(path, kMaxPropFileBytes, bytes, why)) {
    if (pathExists(path)) logLine("Main: Prop file \"%s\" %s", path, why.c_str());
    return false;
  }
  bool ok = parsePropFile(bytes.data(), bytes.size(), out, why);
  if (!why.empty()) logLine("Main: Prop file \"%s\" %s", path, why.c_str());
  return ok;
}

Vec3 restartPosition(const Vec3& startPosition, float startHeading) {
  // The heading converts in single precision; sin and cos then run in double.
  double h = double(startHeading * 0.017453292f);
  return Vec3{startPosition.x + std::sin(h) * 20.0, startPosition.y + double(0.7f),
              startPosition.z + std::cos(h) * 20.0};
}
