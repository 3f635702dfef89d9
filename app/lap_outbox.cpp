#include "app/lap_outbox.h"

#include "app/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>

namespace {

const char kPrefix[] = "lap-";
const char kSuffix[] = ".proof";

bool isEntryName(const std::string& name) {
  size_t p = sizeof(kPrefix) - 1, s = sizeof(kSuffix) - 1;
  return name.size() > p + s && name.compare(0, p, kPrefix) == 0 &&
         name.compare(name.size() - s, s, kSuffix) == 0;
}

// lap-MILLISECONDS-PID-N.proof: names sort by the time written (the
// milliseconds are zero-padded) and never collide between two processes.
std::string newEntryName() {
  static std::atomic<unsigned> counter{0};
  long long ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                     std::chrono::system_clock::now().time_since_epoch())
                     .count();
  char name[96];
  std::snprintf(name, sizeof(name), "%s%015lld-%d-%u%s", kPrefix, ms, int(getpid()), counter++, kSuffix);
  return name;
}

}  // namespace

bool putInOutbox(const std::string& folder, const std::vector<uint8_t>& proof, std::string& path, std::string& why) {
  std::string reason;
  if (!makeFolder(folder.c_str(), reason)) {
    why = "cannot make the folder " + folder + ": " + reason;
    return false;
  }
  path = folder + "/" + newEntryName();
  if (!writeFileAtomically(path.c_str(), proof.data(), proof.size(), reason)) {
    why = "cannot write " + path + ": " + reason;
    return false;
  }
  return true;
}

std::vector<std::string> outboxEntries(const std::string& folder) {
  std::vector<std::string> names;
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return names;
  while (dirent* entry = readdir(dir))
    if (isEntryName(entry->d_name)) names.push_back(entry->d_name);
  closedir(dir);
  std::sort(names.begin(), names.end());
  for (std::string& name : names) name = folder + "/" + name;
  return names;
}

bool readOutboxEntry(const std::string& path, std::vector<uint8_t>& out, std::string& why) {
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) {
    why = "cannot read " + path;
    return false;
  }
  struct stat info;
  bool ok = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && size_t(info.st_size) <= kMaxOutboxProofBytes;
  if (!ok) why = path + " is not a plain file of at most " + std::to_string(kMaxOutboxProofBytes) + " bytes";
  if (ok) {
    out.resize(size_t(info.st_size));
    size_t done = 0;
    while (done < out.size()) {
      ssize_t got = read(fd, out.data() + done, out.size() - done);
      if (got <= 0) break;
      done += size_t(got);
    }
    ok = done == out.size();
    if (!ok) why = "cannot read " + path;
  }
  close(fd);
  return ok;
}

void takeFromOutbox(const std::string& path) { unlink(path.c_str()); }
