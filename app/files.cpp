#include "app/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

std::string errnoText() { return std::strerror(errno); }

// "not a regular file (a FIFO)" and the like, for a name that exists.
std::string kindText(mode_t mode) {
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISFIFO(mode)) return "a FIFO";
  if (S_ISCHR(mode)) return "a character device";
  if (S_ISBLK(mode)) return "a block device";
  if (S_ISSOCK(mode)) return "a socket";
  return "not a plain file";
}

// Opens a regular file read-only. O_NONBLOCK keeps open() from waiting for the
// writer of a FIFO that slipped in between the stat and the open; it changes
// nothing for a regular file.
int openRegular(const char* path, struct stat& info, std::string& why) {
  std::string converted = platformPath(path);
  if (stat(converted.c_str(), &info) != 0) {
    why = "cannot be opened: " + errnoText();
    return -1;
  }
  if (!S_ISREG(info.st_mode)) {
    why = "not a regular file (" + kindText(info.st_mode) + ")";
    return -1;
  }
  int fd = open(converted.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    why = "cannot be opened: " + errnoText();
    return -1;
  }
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    why = "not a regular file";
    close(fd);
    return -1;
  }
  return fd;
}

bool writeAll(int fd, const unsigned char* data, size_t size) {
  while (size > 0) {
    ssize_t put = write(fd, data, size);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    data += put;
    size -= size_t(put);
  }
  return true;
}

// The folder holding `path` ("." for a bare name).
std::string folderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Makes a rename inside `folder` durable. Some file systems cannot sync a
// folder at all; the file itself is already on the disk then.
void syncFolder(const std::string& folder) {
  int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

}  // namespace

std::string platformPath(const char* path) {
  std::string converted(path);
  for (char& c : converted) {
    if (c == '\\') c = '/';
  }
  return converted;
}

FILE* openFile(const char* path, const char* mode) { return std::fopen(platformPath(path).c_str(), mode); }

bool pathExists(const char* path) {
  struct stat info;
  return lstat(platformPath(path).c_str(), &info) == 0;
}

FILE* openRegularFile(const char* path, std::string& why) {
  struct stat info;
  int fd = openRegular(path, info, why);
  if (fd < 0) return nullptr;
  FILE* file = fdopen(fd, "rb");
  if (file == nullptr) {
    why = "cannot be opened: " + errnoText();
    close(fd);
  }
  return file;
}

bool sizeWithin(uint64_t size, size_t maxBytes, std::string& why) {
  if (size <= maxBytes) return true;
  why = std::to_string(size) + " bytes, more than the " + std::to_string(maxBytes) + " it can hold";
  return false;
}

bool readAtMost(int fd, size_t maxBytes, std::vector<unsigned char>& out, std::string& why) {
  out.clear();
  unsigned char chunk[65536];
  for (;;) {
    ssize_t got = read(fd, chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      why = "cannot be read: " + errnoText();
      return false;
    }
    if (got == 0) return true;
    // Checked before the bytes are kept, so that no more than the limit is held.
    if (!sizeWithin(uint64_t(out.size()) + uint64_t(got), maxBytes, why)) return false;
    out.insert(out.end(), chunk, chunk + got);
  }
}

bool readWholeFile(const char* path, size_t maxBytes, std::vector<unsigned char>& out, std::string& why) {
  out.clear();
  struct stat info;
  int fd = openRegular(path, info, why);
  if (fd < 0) return false;
  bool ok = sizeWithin(uint64_t(info.st_size), maxBytes, why);
  if (ok) {
    out.reserve(size_t(info.st_size));
    // A file that grows while it is read is still held to the limit.
    ok = readAtMost(fd, maxBytes, out, why);
  }
  close(fd);
  if (!ok) out.clear();
  return ok;
}

bool readWholeFile(const char* path, size_t maxBytes, std::vector<unsigned char>& out) {
  std::string why;
  return readWholeFile(path, maxBytes, out, why);
}

bool writeFileAtomically(const char* path, const void* data, size_t size, std::string& why) {
  std::string target = platformPath(path);
  std::string temporary = target + ".tmp";
  int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) {
    why = "cannot create " + temporary + ": " + errnoText();
    return false;
  }
  bool ok = writeAll(fd, static_cast<const unsigned char*>(data), size);
  if (!ok) why = "cannot write " + temporary + ": " + errnoText();
  // The data reaches the disk before the name points at it.
  if (ok && fsync(fd) != 0) {
    why = "cannot flush " + temporary + " to the disk: " + errnoText();
    ok = false;
  }
  if (close(fd) != 0 && ok) {
    why = "cannot close " + temporary + ": " + errnoText();
    ok = false;
  }
  if (ok && std::rename(temporary.c_str(), target.c_str()) != 0) {
    why = "cannot rename " + temporary + " to " + target + ": " + errnoText();
    ok = false;
  }
  if (!ok) {
    unlink(temporary.c_str());
    return false;
  }
  syncFolder(folderOf(target));
  return true;
}

bool makeFolder(const char* path, std::string& why) {
  std::string converted = platformPath(path);
  if (mkdir(converted.c_str(), 0777) == 0) return true;
  int error = errno;
  struct stat info;
  if (stat(converted.c_str(), &info) == 0) {
    if (S_ISDIR(info.st_mode)) return true;
    why = converted + " is not a folder";
    return false;
  }
  why = "cannot create the folder " + converted + ": " + std::strerror(error);
  return false;
}
