#include "app/config.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

const char kConfigPath[] = "config_test.txt";

AppConfig parse(const std::string& text) { return parseConfig(text.data(), text.size()); }

std::string readFile(const char* path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void expectValues(const AppConfig& c, int w, int h, int bits, int refresh, int full, int vsync, int fsaa) {
  EXPECT_EQ(c.windowwidth, w);
  EXPECT_EQ(c.windowheight, h);
  EXPECT_EQ(c.bitsperpixel, bits);
  EXPECT_EQ(c.refreshrate, refresh);
  EXPECT_EQ(c.fullscreen, full);
  EXPECT_EQ(c.vsync, vsync);
  EXPECT_EQ(c.fsaa, fsaa);
}

}  // namespace

TEST(Config, MissingFileIsWrittenWithTheExactDefaultTextAndValues) {
  std::remove(kConfigPath);
  AppConfig config = loadConfig(kConfigPath);
  expectValues(config, 800, 600, 32, 75, 0, 1, 4);
  EXPECT_EQ(readFile(kConfigPath),
            "windowwidth 800\nwindowheight 600\nbitsperpixel 32\nrefreshrate 75\nfullscreen 0\nvsync 1\n"
            "fsaa 4\n\n---\n\nAccepted values for fsaa is 0,2,4 and possibly 6 or 8");
  // The written file reads back to the same values.
  expectValues(loadConfig(kConfigPath), 800, 600, 32, 75, 0, 1, 4);
  std::remove(kConfigPath);
}

TEST(Config, UncreatableFileStillGivesTheDefaults) {
  expectValues(loadConfig("no-such-folder/config.txt"), 800, 600, 32, 75, 0, 1, 4);
}

TEST(Config, ValuesAreTakenByPositionNotByName) {
  AppConfig config = parse("fullscreen 1\nvsync 1024\nfsaa 32\nwindowwidth 60\nx -5\ny 0\nz 8\n");
  expectValues(config, 1, 1024, 32, 60, -5, 0, 8);
}

TEST(Config, ThreeLinesLeaveTheLastFourAtZero) {
  expectValues(parse("windowwidth 1024\nwindowheight 768\nbitsperpixel 16\n"), 1024, 768, 16, 0, 0, 0, 0);
}

TEST(Config, FirstFailedReadZeroesThatValueAndAllLater) {
  // A word where the number belongs.
  expectValues(parse("windowwidth 640 windowheight high bitsperpixel 32"), 640, 0, 0, 0, 0, 0, 0);
  // A number directly followed by letters: the letters are the next word.
  expectValues(parse("w 640x 480 y 5"), 640, 480, 5, 0, 0, 0, 0);
  // A word of more than 99 characters: its 100th character onward is read as
  // the number.
  expectValues(parse(std::string(99, 'w') + "7 640"), 7, 0, 0, 0, 0, 0, 0);
  expectValues(parse(std::string(150, 'w') + " 640"), 0, 0, 0, 0, 0, 0, 0);
  // A sign without digits.
  expectValues(parse("a 1 b - 2"), 1, 0, 0, 0, 0, 0, 0);
}

TEST(Config, GarbageNeverCrashesAndHugeNumbersClamp) {
  expectValues(parse(""), 0, 0, 0, 0, 0, 0, 0);
  expectValues(parse("   \n\t  "), 0, 0, 0, 0, 0, 0, 0);
  // A NUL byte is a word character; the bytes after it are no number.
  expectValues(parse(std::string("\x00\xff 12 \x80\x01 \x02", 10)), 12, 0, 0, 0, 0, 0, 0);
  expectValues(parse("a 99999999999999999999 b -99999999999999999999 c +12"), 2147483647, -2147483647 - 1, 12, 0, 0,
               0, 0);
  // Only the given bytes are read: the size ends the text, not a terminator.
  std::string text = "a 1 b 2";
  expectValues(parseConfig(text.data(), 5), 1, 0, 0, 0, 0, 0, 0);
}
