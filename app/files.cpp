#include "app/files.h"

std::string platformPath(const char* path) {
  std::string converted(path);
  for (char& c : converted) {
    if (c == '\\') c = '/';
  }
  return converted;
}

FILE* openFile(const char* path, const char* mode) { return std::fopen(platformPath(path).c_str(), mode); }

bool readWholeFile(const char* path, std::vector<unsigned char>& out) {
  FILE* f = openFile(path, "rb");
  if (f == nullptr) return false;
  out.clear();
  unsigned char chunk[65536];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0) out.insert(out.end(), chunk, chunk + got);
  bool ok = !std::ferror(f);
  std::fclose(f);
  return ok;
}
