#pragma once

#include "app/log.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

// Runs a test inside a fresh folder holding data/models/ and a new log.txt, so
// files are read under the program's own back-slash paths.
class ScratchFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/stravo_scratch_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder_ = pattern;
    ASSERT_NE(getcwd(previous_, sizeof previous_), nullptr);
    ASSERT_EQ(chdir(folder_.c_str()), 0);
    mkdir("data", 0755);
    mkdir("data/models", 0755);
    openLog();
  }
  void TearDown() override {
    setLogging(false);
    ASSERT_EQ(chdir(previous_), 0);
    std::string command = "rm -rf " + folder_;
    ASSERT_EQ(std::system(command.c_str()), 0);
  }
  static std::string log() {
    std::ifstream in("log.txt");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

 private:
  std::string folder_;
  char previous_[4096];
};
