#include "tools/sim/sim_options.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

// The longest run accepted: far beyond any test, short of overflowing counters.
constexpr long long kMaxTicks = 1LL << 40;

bool parseTicks(const char* text, long long& out) {
  if (*text < '0' || *text > '9') return false;
  char* end = nullptr;
  errno = 0;
  long long v = std::strtoll(text, &end, 10);
  if (errno != 0 || *end != '\0' || v > kMaxTicks) return false;
  out = v;
  return true;
}

}  // namespace

const char* simUsage() {
  return "usage: stravo-sim [--dir DIR] [--ticks N] [--input FILE] [--telemetry FILE] "
         "[--record] [--play FILE] [--turbo] [--manual] [--autopilot] [--ghost FILE] [--verify-ghost FILE]";
}

bool parseSimOptions(int argc, const char* const* argv, SimOptions& out, std::string& why) {
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    std::string* value = nullptr;
    if (std::strcmp(arg, "--record") == 0) {
      out.record = true;
    } else if (std::strcmp(arg, "--turbo") == 0) {
      out.turbo = true;
    } else if (std::strcmp(arg, "--manual") == 0) {
      out.manual = true;
    } else if (std::strcmp(arg, "--autopilot") == 0) {
      out.autopilot = true;
    } else if (std::strcmp(arg, "--ghost") == 0) {
      value = &out.ghostPath;
    } else if (std::strcmp(arg, "--verify-ghost") == 0) {
      value = &out.verifyGhostPath;
    } else if (std::strcmp(arg, "--dir") == 0) {
      value = &out.dir;
    } else if (std::strcmp(arg, "--input") == 0) {
      value = &out.inputPath;
    } else if (std::strcmp(arg, "--telemetry") == 0) {
      value = &out.telemetryPath;
    } else if (std::strcmp(arg, "--play") == 0) {
      value = &out.playPath;
    } else if (std::strcmp(arg, "--ticks") == 0) {
      if (i + 1 >= argc || !parseTicks(argv[i + 1], out.ticks)) {
        why = "--ticks needs a whole number of ticks";
        return false;
      }
      ++i;
    } else {
      why = std::string("unknown option '") + arg + "'";
      return false;
    }
    if (value != nullptr) {
      if (i + 1 >= argc || argv[i + 1][0] == '\0') {
        why = std::string(arg) + " needs a value";
        return false;
      }
      *value = argv[++i];
    }
  }
  return true;
}
