#include "app/failed_saves.h"

#include "app/files.h"

#include <errno.h>

#include <cstdio>

namespace {

int failures = 0;

}  // namespace

void reportFailedSave(const char* path, const std::string& why) {
  ++failures;
  std::fprintf(stderr, "%s: could not save %s: %s\n", program_invocation_short_name, platformPath(path).c_str(),
               why.c_str());
}

int failedSaveCount() { return failures; }
