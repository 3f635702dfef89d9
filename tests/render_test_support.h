#pragma once

// Shared by the render tests: every test runs in a folder of its own (ctest runs
// test programs side by side, and the log and data paths are relative), with a
// fresh log.

#include "app/log.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace render_test {

class ScratchFolder {
 public:
  ScratchFolder() {
    char pattern[] = "/tmp/stravo_render_XXXXXX";
    const char* made = mkdtemp(pattern);
    EXPECT_NE(made, nullptr);
    folder_ = made != nullptr ? made : "/tmp";
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(folder_);
    openLog();
  }
  ~ScratchFolder() {
    std::filesystem::current_path(previous_);
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

 private:
  std::filesystem::path folder_;
  std::filesystem::path previous_;
};

// Writes a file under the scratch folder; `path` uses forward slashes.
inline void writeFile(const std::string& path, const std::string& bytes) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

inline std::string logText() {
  std::ifstream in("log.txt", std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// How many log lines equal `line` exactly.
inline int logLines(const std::string& line) {
  std::istringstream in(logText());
  int count = 0;
  for (std::string got; std::getline(in, got);) count += got == line ? 1 : 0;
  return count;
}

}  // namespace render_test
