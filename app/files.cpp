#include "app/files.h"

#include <sys/stat.h>

#include <cstdio>

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

bool writeFileAtomically(const char* path, const void* data, size_t size) {
  std::string temporary = std::string(path) + ".tmp";
  FILE* file = openFile(temporary.c_str(), "wb");
  if (file == nullptr) return false;
  bool written = std::fwrite(data, 1, size, file) == size;
  // A failed close can mean the data never reached the disk.
  if (std::fclose(file) != 0) written = false;
  if (!written) {
    std::remove(platformPath(temporary.c_str()).c_str());
    return false;
  }
  return std::rename(platformPath(temporary.c_str()).c_str(), platformPath(path).c_str()) == 0;
}

bool makeFolder(const char* path) {
  std::string converted = platformPath(path);
  if (mkdir(converted.c_str(), 0777) == 0) return true;
  struct stat info;
  return stat(converted.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}
