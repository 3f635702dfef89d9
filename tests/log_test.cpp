#include "app/log.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string readLog() {
  std::ifstream in("log.txt", std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

TEST(Log, LinesFollowALineBreakAndFileHasNoTrailingBreak) {
  openLog();
  logLine("Main: %s", "Init done");
  logLine("Renderer: %i", 42);
  EXPECT_EQ(readLog(), "Log started\nMain: Init done\nRenderer: 42");
}

TEST(Log, SecondOpenDiscardsEarlierRun) {
  openLog();
  logLine("Main: first run");
  openLog();
  EXPECT_EQ(readLog(), "Log started");
}

TEST(Log, NothingIsWrittenWhileOff) {
  openLog();
  setLogging(false);
  logLine("Main: hidden");
  EXPECT_EQ(readLog(), "Log started");
  setLogging(true);
  logLine("Main: shown");
  EXPECT_EQ(readLog(), "Log started\nMain: shown");
}

TEST(Log, OverlongMessageIsCutToTheBuffer) {
  openLog();
  std::string longText(5000, 'x');
  logLine("%s", longText.c_str());
  EXPECT_EQ(readLog(), "Log started\n" + std::string(1023, 'x'));
}
