#include "app/config.h"

#include "app/files.h"

#include <cctype>
#include <cstdint>
#include <vector>

const char kDefaultConfigText[] =
    "windowwidth 800\n"
    "windowheight 600\n"
    "bitsperpixel 32\n"
    "refreshrate 75\n"
    "fullscreen 0\n"
    "vsync 1\n"
    "fsaa 4\n"
    "\n---\n\nAccepted values for fsaa is 0,2,4 and possibly 6 or 8";

namespace {

const size_t kMaxWordLength = 99;

// A cursor over the file's bytes with the scanning rules of a word-then-number read.
struct Scanner {
  const char* at;
  const char* end;

  void skipSpace() {
    while (at < end && std::isspace(static_cast<unsigned char>(*at))) ++at;
  }

  // A word is up to 99 non-space characters; a longer one leaves its rest for
  // the number that follows, which then fails unless the rest is a number.
  bool word() {
    skipSpace();
    if (at == end) return false;
    size_t taken = 0;
    while (at < end && taken < kMaxWordLength && !std::isspace(static_cast<unsigned char>(*at))) {
      ++at;
      ++taken;
    }
    return true;
  }

  bool number(int32_t& out) {
    skipSpace();
    bool negative = false;
    if (at < end && (*at == '+' || *at == '-')) {
      negative = *at == '-';
      ++at;
    }
    if (at == end || !std::isdigit(static_cast<unsigned char>(*at))) return false;
    const int64_t limit = negative ? -int64_t(INT32_MIN) : int64_t(INT32_MAX);
    int64_t value = 0;
    while (at < end && std::isdigit(static_cast<unsigned char>(*at))) {
      if (value < limit) value = value * 10 + (*at - '0');
      if (value > limit) value = limit;
      ++at;
    }
    out = int32_t(negative ? -value : value);
    return true;
  }
};

}  // namespace

AppConfig defaultConfig() {
  AppConfig config;
  config.windowwidth = 800;
  config.windowheight = 600;
  config.bitsperpixel = 32;
  config.refreshrate = 75;
  config.fullscreen = 0;
  config.vsync = 1;
  config.fsaa = 4;
  return config;
}

AppConfig parseConfig(const char* text, size_t size) {
  AppConfig config;
  int32_t* fields[] = {&config.windowwidth, &config.windowheight, &config.bitsperpixel, &config.refreshrate,
                       &config.fullscreen,  &config.vsync,        &config.fsaa};
  Scanner scan{text, text + size};
  for (int32_t* field : fields) {
    int32_t value = 0;
    if (!scan.word() || !scan.number(value)) break;
    *field = value;
  }
  return config;
}

AppConfig loadConfig(const char* path) {
  std::vector<unsigned char> bytes;
  if (readWholeFile(path, kMaxTextFileBytes, bytes)) {
    return parseConfig(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  }
  // Only a missing file is made anew: one that is there but cannot be read (a
  // folder, a FIFO, one far too large) is left alone.
  if (pathExists(path)) return defaultConfig();
  if (FILE* f = openFile(path, "w")) {
    std::fputs(kDefaultConfigText, f);
    std::fclose(f);
  }
  return defaultConfig();
}
