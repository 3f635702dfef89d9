#include "tools/datagen/data_set.h"

#include "app/files.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

bool writeDataFile(DataSetWriter& writer, const char* path, const std::vector<uint8_t>& bytes) {
  std::filesystem::path full = std::filesystem::path(writer.root) / platformPath(path);
  std::error_code ec;
  std::filesystem::create_directories(full.parent_path(), ec);
  FILE* f = std::fopen(full.string().c_str(), "wb");
  bool ok = f != nullptr;
  if (ok) {
    ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = std::fclose(f) == 0 && ok;
  }
  if (!ok) {
    std::fprintf(stderr, "stravo-datagen: cannot write \"%s\"\n", full.string().c_str());
    writer.failed = true;
    return false;
  }
  writer.filesWritten += 1;
  writer.bytesWritten += bytes.size();
  return true;
}

bool writeTextFile(DataSetWriter& writer, const char* path, const std::string& text) {
  std::string crlf;
  crlf.reserve(text.size() + text.size() / 16);
  for (char c : text) {
    if (c == '\n') crlf.push_back('\r');
    crlf.push_back(c);
  }
  return writeDataFile(writer, path, std::vector<uint8_t>(crlf.begin(), crlf.end()));
}

bool writePlainTextFile(DataSetWriter& writer, const char* path, const std::string& text) {
  return writeDataFile(writer, path, std::vector<uint8_t>(text.begin(), text.end()));
}

void putInt16(std::vector<uint8_t>& out, int v) {
  out.push_back(uint8_t(v & 0xff));
  out.push_back(uint8_t((v >> 8) & 0xff));
}

void putInt32(std::vector<uint8_t>& out, int32_t v) {
  uint32_t u = uint32_t(v);
  for (int i = 0; i < 4; ++i) out.push_back(uint8_t((u >> (8 * i)) & 0xff));
}

void putFloat32(std::vector<uint8_t>& out, float v) {
  uint32_t u;
  std::memcpy(&u, &v, 4);
  putInt32(out, int32_t(u));
}

void putFloat64(std::vector<uint8_t>& out, double v) {
  uint64_t u;
  std::memcpy(&u, &v, 8);
  for (int i = 0; i < 8; ++i) out.push_back(uint8_t((u >> (8 * i)) & 0xff));
}
