#include "app/log.h"

#include <cstdarg>
#include <cstdio>

namespace {
const char kLogPath[] = "log.txt";
bool gLoggingOn = false;
}  // namespace

void openLog() {
  if (FILE* f = std::fopen(kLogPath, "w")) {
    std::fputs("Log started", f);
    std::fclose(f);
  }
  gLoggingOn = true;
}

void logLine(const char* format, ...) {
  if (!gLoggingOn) return;
  char buffer[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  FILE* f = std::fopen(kLogPath, "a");
  if (f == nullptr) return;
  std::fprintf(f, "\n%s", buffer);
  std::fclose(f);
}

void setLogging(bool on) { gLoggingOn = on; }
bool loggingOn() { return gLoggingOn; }
