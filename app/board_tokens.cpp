#include "app/board_tokens.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// A token file past this is not ours to read.
constexpr off_t kMaxTokenFileBytes = 1 << 20;

struct TokenLine {
  std::string base, name, token;
};

std::string tokenFile(const std::string& folder) { return folder + "/tokens"; }

// The lines of the file in order; a missing or unreadable file has none, and a
// line without three fields is skipped.
std::vector<TokenLine> readTokenLines(const std::string& folder) {
  std::vector<TokenLine> lines;
  int fd = open(tokenFile(folder).c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return lines;
  struct stat info;
  std::string text;
  if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= kMaxTokenFileBytes) {
    text.resize(size_t(info.st_size));
    ssize_t got = read(fd, &text[0], text.size());
    text.resize(got > 0 ? size_t(got) : 0);
  }
  close(fd);
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(at, end - at);
    at = end + 1;
    size_t a = line.find('\t'), b = a == std::string::npos ? a : line.find('\t', a + 1);
    if (b == std::string::npos) continue;
    lines.push_back({line.substr(0, a), line.substr(a + 1, b - a - 1), line.substr(b + 1)});
  }
  return lines;
}

bool makeFolders(const std::string& path) {
  for (size_t at = 1; at <= path.size(); ++at) {
    if (at != path.size() && path[at] != '/') continue;
    std::string part = path.substr(0, at);
    if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool fieldIsPlain(const std::string& field) {
  return !field.empty() && field.find_first_of("\t\n\r") == std::string::npos;
}

}  // namespace

std::string boardConfigFolder() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config != nullptr && config[0] == '/') return std::string(config) + "/stravo";
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] == '/') return std::string(home) + "/.config/stravo";
  return "";
}

bool findToken(const std::string& folder, const std::string& base, const std::string& name, std::string& token) {
  for (const TokenLine& line : readTokenLines(folder)) {
    if (line.base == base && line.name == name) {
      token = line.token;
      return true;
    }
  }
  return false;
}

bool lastPlayerOf(const std::string& folder, const std::string& base, std::string& name) {
  bool found = false;
  for (const TokenLine& line : readTokenLines(folder)) {
    if (line.base != base) continue;
    name = line.name;
    found = true;
  }
  return found;
}

bool keepToken(const std::string& folder, const std::string& base, const std::string& name, const std::string& token,
               std::string& why) {
  if (!fieldIsPlain(base) || !fieldIsPlain(name) || !fieldIsPlain(token)) {
    why = "a board, name or token with a tab or line break cannot be kept";
    return false;
  }
  if (folder.empty() || !makeFolders(folder)) {
    why = "cannot make the folder " + (folder.empty() ? std::string("$XDG_CONFIG_HOME/stravo") : folder);
    return false;
  }
  std::string text;
  for (const TokenLine& line : readTokenLines(folder))
    if (!(line.base == base && line.name == name)) text += line.base + "\t" + line.name + "\t" + line.token + "\n";
  text += base + "\t" + name + "\t" + token + "\n";

  std::string path = tokenFile(folder), temporary = path + ".tmp";
  int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) {
    why = "cannot write " + temporary + ": " + std::strerror(errno);
    return false;
  }
  // The mode is set again in case an older temporary file had another one.
  bool written = fchmod(fd, 0600) == 0 && write(fd, text.data(), text.size()) == ssize_t(text.size()) &&
                 fsync(fd) == 0;
  if (close(fd) != 0) written = false;
  if (!written || rename(temporary.c_str(), path.c_str()) != 0) {
    why = "cannot write " + path + ": " + std::strerror(errno);
    unlink(temporary.c_str());
    return false;
  }
  return true;
}
