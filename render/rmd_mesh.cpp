#include "render/rmd_mesh.h"

#include "app/files.h"
#include "app/log.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr size_t kHeaderSize = 5;
constexpr size_t kDirectoryEntrySize = 8;
constexpr size_t kVertexRecordSize = 44;
constexpr size_t kTriangleSize = 12;
constexpr size_t kMaxNameLength = 255;
constexpr int32_t kExtraTexCoordTag = 4;

// A bounds-checked little-endian reader over the file image: every read either
// stays inside the buffer or fails.
struct Reader {
  const uint8_t* data;
  size_t size;
  size_t pos;

  bool seek(int64_t offset) {
    if (offset < int64_t(kHeaderSize) || uint64_t(offset) > size) return false;
    pos = size_t(offset);
    return true;
  }
  size_t remaining() const { return size - pos; }
  bool readInt(int32_t& v) {
    if (remaining() < 4) return false;
    uint32_t u = uint32_t(data[pos]) | uint32_t(data[pos + 1]) << 8 | uint32_t(data[pos + 2]) << 16 |
                 uint32_t(data[pos + 3]) << 24;
    std::memcpy(&v, &u, 4);
    pos += 4;
    return true;
  }
  // Callers check remaining() for whole records first.
  float takeFloat() {
    int32_t v = 0;
    readInt(v);
    float f;
    std::memcpy(&f, &v, 4);
    return f;
  }
};

struct DirectoryEntry {
  int32_t tag;
  int32_t offset;
};

bool readEntry(Reader& dir, DirectoryEntry& e) { return dir.readInt(e.tag) && dir.readInt(e.offset); }

bool readVertices(Reader& in, RMDMesh& mesh, std::string& why) {
  int32_t n = 0;
  if (!in.readInt(n)) {
    why = "vertex chunk truncated";
    return false;
  }
  if (n < 0) {
    why = "negative vertex count";
    return false;
  }
  if (uint64_t(n) * kVertexRecordSize > in.remaining()) {
    why = "vertex chunk truncated";
    return false;
  }
  mesh.vertexCount = n;
  mesh.positions.resize(size_t(n) * 3);
  mesh.normals.resize(size_t(n) * 3);
  mesh.colors.resize(size_t(n) * 3);
  mesh.texCoords[0].resize(size_t(n) * 2);
  mesh.texCoordSetCount = 1;
  for (size_t v = 0; v < size_t(n); ++v) {
    for (int k = 0; k < 3; ++k) mesh.positions[3 * v + k] = in.takeFloat();
    for (int k = 0; k < 3; ++k) mesh.normals[3 * v + k] = in.takeFloat();
    for (int k = 0; k < 3; ++k) mesh.colors[3 * v + k] = in.takeFloat();
    for (int k = 0; k < 2; ++k) mesh.texCoords[0][2 * v + k] = in.takeFloat();
  }
  return true;
}

bool readNames(Reader& in, RMDMesh& mesh, std::string& why) {
  int32_t m = 0;
  if (!in.readInt(m)) {
    why = "material-name chunk truncated";
    return false;
  }
  if (m < 0) {
    why = "negative material count";
    return false;
  }
  // Every name takes at least its NUL byte.
  if (uint64_t(m) > in.remaining()) {
    why = "material-name chunk truncated";
    return false;
  }
  mesh.materialCount = m;
  mesh.materialNames.reserve(size_t(m));
  for (int32_t i = 0; i < m; ++i) {
    const uint8_t* start = in.data + in.pos;
    size_t limit = std::min(in.remaining(), kMaxNameLength + 1);
    const void* nul = std::memchr(start, 0, limit);
    if (nul == nullptr) {
      why = limit > kMaxNameLength ? "material name longer than 255 bytes" : "material-name chunk truncated";
      return false;
    }
    size_t length = size_t(static_cast<const uint8_t*>(nul) - start);
    mesh.materialNames.emplace_back(reinterpret_cast<const char*>(start), length);
    in.pos += length + 1;
  }
  return true;
}

bool readTriangles(Reader& in, RMDMesh& mesh, std::string& why) {
  mesh.triangleCounts.resize(size_t(mesh.materialCount));
  mesh.triangleIndices.resize(size_t(mesh.materialCount));
  for (int i = 0; i < mesh.materialCount; ++i) {
    int32_t k = 0;
    if (!in.readInt(k)) {
      why = "triangle chunk truncated";
      return false;
    }
    if (k < 0) {
      why = "negative triangle count";
      return false;
    }
    if (uint64_t(k) * kTriangleSize > in.remaining()) {
      why = "triangle chunk truncated";
      return false;
    }
    mesh.triangleCounts[i] = k;
    std::vector<int32_t>& indices = mesh.triangleIndices[i];
    indices.resize(size_t(k) * 3);
    for (int32_t& index : indices) {
      in.readInt(index);
      if (index < 0 || index >= mesh.vertexCount) {
        why = "vertex index out of range";
        return false;
      }
    }
  }
  return true;
}

bool readExtraTexCoords(Reader& in, RMDMesh& mesh, std::string& why) {
  int32_t t = 0;
  if (!in.readInt(t)) {
    why = "texture-coordinate chunk truncated";
    return false;
  }
  if (t < 0) {
    why = "negative texture-coordinate set count";
    return false;
  }
  if (t > RMDMesh::kMaxTexCoordSets - 1) {
    why = "more than 7 extra texture-coordinate sets";
    return false;
  }
  if (uint64_t(t) * uint64_t(mesh.vertexCount) * 8 > in.remaining()) {
    why = "texture-coordinate chunk truncated";
    return false;
  }
  mesh.texCoordSetCount = 1 + t;
  for (int set = 1; set <= t; ++set) {
    std::vector<float>& uv = mesh.texCoords[set];
    uv.resize(size_t(mesh.vertexCount) * 2);
    for (float& f : uv) f = in.takeFloat();
  }
  return true;
}

bool parseInto(Reader& file, RMDMesh& mesh, std::string& why) {
  if (file.size < kHeaderSize + 4) {
    why = "file too short";
    return false;
  }
  file.pos = file.size - 4;
  int32_t directory = 0;
  file.readInt(directory);
  // The directory holds at least three entries and cannot start inside the header.
  if (directory < int32_t(kHeaderSize) || uint64_t(directory) + 3 * kDirectoryEntrySize > file.size) {
    why = "directory offset out of range";
    return false;
  }
  Reader dir{file.data, file.size, size_t(directory)};
  DirectoryEntry entry;

  readEntry(dir, entry);
  if (!file.seek(entry.offset)) {
    why = "vertex chunk offset out of range";
    return false;
  }
  if (!readVertices(file, mesh, why)) return false;

  readEntry(dir, entry);
  if (!file.seek(entry.offset)) {
    why = "material-name chunk offset out of range";
    return false;
  }
  if (!readNames(file, mesh, why)) return false;

  readEntry(dir, entry);
  if (!file.seek(entry.offset)) {
    why = "triangle chunk offset out of range";
    return false;
  }
  if (!readTriangles(file, mesh, why)) return false;

  // A three-entry directory ends here: the trailing directory offset reads as the
  // fourth tag, and it is never 4 because it points past the header.
  int32_t tag = 0;
  if (!dir.readInt(tag) || tag != kExtraTexCoordTag) return true;
  int32_t offset = 0;
  if (!dir.readInt(offset) || !file.seek(offset)) {
    why = "texture-coordinate chunk offset out of range";
    return false;
  }
  return readExtraTexCoords(file, mesh, why);
}

// Stores a double result back into the float it came from, as each correction step does.
void store(float& f, double v) { f = float(v); }

void correctFloor(RMDMesh& mesh) {
  for (int i = 0; i < mesh.vertexCount; ++i) {
    float* p = &mesh.positions[3 * size_t(i)];
    float* uv = &mesh.texCoords[0][2 * size_t(i)];
    store(p[0], double(p[0]) * double(0.5f));
    p[1] = 0.0f;
    store(p[2], double(p[2]) * double(0.5f));
    store(uv[0], double(uv[0]) * double(15.0f));
    store(uv[1], double(uv[1]) * double(15.0f));
  }
}

// Turns the car body by 180 degrees about y and lifts it; the two lifts are
// separate float steps, which rounds differently from one lift of 0.35.
void correctEvo(RMDMesh& mesh) {
  for (int i = 0; i < mesh.vertexCount; ++i) {
    float* p = &mesh.positions[3 * size_t(i)];
    float* n = &mesh.normals[3 * size_t(i)];
    n[0] = -n[0];
    n[2] = -n[2];
    p[0] = -p[0];
    p[2] = -p[2];
    store(p[1], double(p[1]) + double(0.25f));
    store(p[2], double(p[2]) - double(0.03f));
    store(p[1], double(p[1]) + double(0.1f));
  }
}

void correctWheel(RMDMesh& mesh) {
  for (int i = 0; i < mesh.vertexCount; ++i) {
    float* p = &mesh.positions[3 * size_t(i)];
    float* uv = &mesh.texCoords[0][2 * size_t(i)];
    for (int k = 0; k < 3; ++k) store(p[k], double(p[k]) * double(0.9f));
    store(p[1], double(p[1]) + double(0.01f));
    float u = uv[0];
    float v = uv[1];
    uv[0] = -v;
    uv[1] = -u;
  }
}

void correctSphere(RMDMesh& mesh) {
  for (int i = 0; i < mesh.vertexCount; ++i) {
    float* p = &mesh.positions[3 * size_t(i)];
    for (int k = 0; k < 3; ++k) store(p[k], double(p[k]) * double(0.015f));
    store(p[1], double(p[1]) + double(1.0f));
  }
}

// The lowest y, searched from 1000: a model lying wholly above 1000 is lowered by 1000 only.
float lowestY(const RMDMesh& mesh) {
  float m = 1000.0f;
  for (int i = 0; i < mesh.vertexCount; ++i) {
    float y = mesh.positions[3 * size_t(i) + 1];
    if (y < m) m = y;
  }
  return m;
}

void correctTree(RMDMesh& mesh) {
  float m = lowestY(mesh);
  for (int i = 0; i < mesh.vertexCount; ++i) {
    float* p = &mesh.positions[3 * size_t(i)];
    store(p[1], double(p[1]) - double(m));
    store(p[0], double(p[0]) + double(5.5f));
  }
}

void correctSkyDome(RMDMesh& mesh) {
  float m = lowestY(mesh);
  for (int i = 0; i < mesh.vertexCount; ++i) {
    float* p = &mesh.positions[3 * size_t(i)];
    store(p[1], double(p[1]) - double(m) * double(0.65f));
    store(p[1], double(p[1]) * double(0.4f));
  }
}

struct Correction {
  const char* path;
  void (*apply)(RMDMesh&);
};

const Correction kCorrections[] = {
    {"data\\models\\floor.rmd", correctFloor},     {"data\\models\\evo.rmd", correctEvo},
    {"data\\models\\hwheel.rmd", correctWheel},    {"data\\models\\sphere.rmd", correctSphere},
    {"data\\models\\tree1.rmd", correctTree},      {"data\\models\\skydome.rmd", correctSkyDome},
};

}  // namespace

bool parseRmd(const uint8_t* data, size_t size, RMDMesh& out, std::string& why) {
  RMDMesh mesh;
  Reader file{data, data == nullptr ? 0 : size, 0};
  if (!parseInto(file, mesh, why)) {
    out = RMDMesh();
    return false;
  }
  out = std::move(mesh);
  return true;
}

void applyRmdCorrections(const char* path, RMDMesh& mesh) {
  for (const Correction& c : kCorrections) {
    if (std::strcmp(path, c.path) == 0) c.apply(mesh);
  }
}

bool RMDMesh::Load(const char* path) {
  logLine("RMDMesh: Loading mesh \"%s\"", path);
  std::vector<unsigned char> bytes;
  std::string why;
  if (!readWholeFile(path, kMaxRmdFileBytes, bytes, why)) {
    if (pathExists(path)) logLine("RMDMesh: Cannot read mesh \"%s\": %s", path, why.c_str());
    *this = RMDMesh();
    return false;
  }
  if (!parseRmd(bytes.data(), bytes.size(), *this, why)) {
    logLine("RMDMesh: Malformed mesh \"%s\": %s", path, why.c_str());
    return false;
  }
  applyRmdCorrections(path, *this);
  return true;
}

int RMDMesh::FindMaterial(const char* name) const {
  if (name == nullptr) return -1;
  int count = std::min(materialCount, int(materialNames.size()));
  for (int i = 0; i < count; ++i) {
    if (materialNames[size_t(i)] == name) return i;
  }
  return -1;
}
