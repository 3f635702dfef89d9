#include "app/game_options.h"
#include "tools/sim/sim_options.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// argv for `words`, program name first, as main receives it.
struct Argv {
  explicit Argv(std::vector<std::string> words) : words(std::move(words)) {
    for (const std::string& w : this->words) pointers.push_back(w.c_str());
    pointers.push_back(nullptr);
  }
  int argc() const { return int(words.size()); }
  const char* const* argv() const { return pointers.data(); }
  std::vector<std::string> words;
  std::vector<const char*> pointers;
};

GameOptionsResult game(std::vector<std::string> words, GameOptions& out) {
  words.insert(words.begin(), "stravo");
  Argv a(words);
  return parseGameOptions(a.argc(), a.argv(), out);
}

bool sim(std::vector<std::string> words, SimOptions& out, std::string& why) {
  words.insert(words.begin(), "stravo-sim");
  Argv a(words);
  return parseSimOptions(a.argc(), a.argv(), out, why);
}

}  // namespace

TEST(GameOptions, NoOptionsRunsAsConfigSays) {
  GameOptions o;
  GameOptionsResult r = game({}, o);
  EXPECT_TRUE(r.run);
  EXPECT_EQ(o.fullscreen, -1);
}

TEST(GameOptions, FullscreenAndWindowedOverrideForTheRun) {
  GameOptions a, b;
  EXPECT_TRUE(game({"--fullscreen"}, a).run);
  EXPECT_EQ(a.fullscreen, 1);
  EXPECT_TRUE(game({"--windowed"}, b).run);
  EXPECT_EQ(b.fullscreen, 0);
  GameOptions both;
  GameOptionsResult r = game({"--fullscreen", "--windowed"}, both);
  EXPECT_FALSE(r.run);
  EXPECT_EQ(r.exitCode, 2);
}

TEST(GameOptions, RumbleStartsOnOnlyWhenAsked) {
  GameOptions plain, asked;
  EXPECT_TRUE(game({}, plain).run);
  EXPECT_FALSE(plain.rumble);
  EXPECT_TRUE(game({"--rumble"}, asked).run);
  EXPECT_TRUE(asked.rumble);
}

TEST(GameOptions, HelpAndVersionPrintAndEndWithZero) {
  GameOptions o;
  GameOptionsResult help = game({"--help"}, o);
  EXPECT_FALSE(help.run);
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.text.find("--fullscreen"), std::string::npos);
  EXPECT_NE(help.text.find("--windowed"), std::string::npos);
  GameOptionsResult version = game({"--version"}, o);
  EXPECT_FALSE(version.run);
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.text.rfind("stravo ", 0), 0u) << version.text;
  EXPECT_EQ(version.text.back(), '\n');
}

TEST(GameOptions, BenchIsOffUnlessAskedAndItsValuesNeedIt) {
  GameOptions plain;
  EXPECT_TRUE(game({}, plain).run);
  EXPECT_FALSE(plain.bench.on);
  EXPECT_TRUE(plain.bench.ghostPath.empty());

  GameOptions o;
  EXPECT_TRUE(game({"--bench", "--bench-ghost", "lap.ghost", "--bench-out", "out", "--bench-ticks", "300"}, o).run);
  EXPECT_TRUE(o.bench.on);
  EXPECT_EQ(o.bench.ghostPath, "lap.ghost");
  EXPECT_EQ(o.bench.outDir, "out");
  EXPECT_EQ(o.bench.ticks, 300);

  for (const char* option : {"--bench-ghost", "--bench-out", "--bench-ticks"}) {
    GameOptions alone;
    GameOptionsResult r = game({option, "1"}, alone);
    EXPECT_FALSE(r.run) << option;
    EXPECT_EQ(r.exitCode, 2) << option;
    EXPECT_NE(r.text.find(std::string(option) + " needs --bench"), std::string::npos) << r.text;
  }
  for (const char* ticks : {"0", "-5", "many"}) {
    GameOptions bad;
    EXPECT_FALSE(game({"--bench", "--bench-ticks", ticks}, bad).run) << ticks;
  }
}

TEST(GameOptions, UnknownWordsEndWithTheUsageLineAndTwo) {
  const std::vector<std::vector<std::string>> lines = {{"--fly"}, {"-x"}, {"extra"}, {"--full"},
                                                       {"--version", "extra"}, {"--help", "extra"}};
  for (const std::vector<std::string>& words : lines) {
    GameOptions o;
    GameOptionsResult r = game(words, o);
    EXPECT_FALSE(r.run) << words.back();
    EXPECT_EQ(r.exitCode, 2) << words.back();
    EXPECT_NE(r.text.find("\nusage: stravo [--help] [--version] [--fullscreen] [--windowed]"), std::string::npos)
        << r.text;
  }
}

TEST(GameOptions, BoardsAreHttpUrlsFromTheCommandLineOrBoardTxt) {
  GameOptions o;
  ASSERT_TRUE(game({"--board", "http://127.0.0.1:8080/", "--name", "alice"}, o).run);
  EXPECT_EQ(o.board, "http://127.0.0.1:8080/");
  EXPECT_EQ(o.name, "alice");
  for (const char* url : {"ftp://board", "file:///etc/passwd", "board:8080"}) {
    GameOptions refused;
    GameOptionsResult r = game({"--board", url}, refused);
    EXPECT_FALSE(r.run) << url;
    EXPECT_EQ(r.exitCode, 2) << url;
    EXPECT_NE(r.text.find("\nusage: stravo "), std::string::npos) << r.text;
  }
  // The tests run in their own folder: board.txt there is the players' one-line setting.
  std::FILE* file = std::fopen("board.txt", "w");
  ASSERT_NE(file, nullptr);
  std::fputs("  https://board.example/  \nignored\n", file);
  std::fclose(file);
  GameOptions fromFile, overridden, bench, benchOnBoard;
  EXPECT_TRUE(game({}, fromFile).run);
  EXPECT_TRUE(game({"--board", "http://other"}, overridden).run);
  // A benchmark drive joins only a board its own command line names.
  EXPECT_TRUE(game({"--bench"}, bench).run);
  EXPECT_TRUE(game({"--bench", "--board", "http://other"}, benchOnBoard).run);
  std::remove("board.txt");
  EXPECT_EQ(fromFile.board, "https://board.example/");
  EXPECT_EQ(overridden.board, "http://other");
  EXPECT_EQ(bench.board, "");
  EXPECT_EQ(benchOnBoard.board, "http://other");
  // A ghost file's lap proves nothing to a board.
  GameOptions ghostOnBoard;
  GameOptionsResult r = game({"--bench", "--bench-ghost", "lap.ghost", "--board", "http://other"}, ghostOnBoard);
  EXPECT_FALSE(r.run);
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.text.find("--bench-ghost cannot go with --board"), std::string::npos) << r.text;
}

TEST(GameOptions, TelemetryRatesAndIdsThatCannotBeSentAreRefused) {
  const std::vector<std::vector<std::string>> lines = {
      {"--outgauge", "127.0.0.1:9000", "--outgauge-rate", "inf"},
      {"--outgauge", "127.0.0.1:9000", "--outgauge-rate", "1e400"},
      {"--outgauge", "127.0.0.1:9000", "--outgauge-rate", "nan"},
      {"--outgauge", "127.0.0.1:9000", "--outgauge-rate", "76"},
      {"--outgauge", "127.0.0.1:9000", "--outgauge-rate", "0"},
      {"--outgauge-id", "7"},
      {"--outgauge-rate", "25"},
  };
  for (const std::vector<std::string>& words : lines) {
    GameOptions o;
    GameOptionsResult r = game(words, o);
    EXPECT_FALSE(r.run) << words[words.size() - 2] << " " << words.back();
    EXPECT_EQ(r.exitCode, 2) << r.text;
  }
  GameOptions o;
  EXPECT_TRUE(game({"--outgauge", "127.0.0.1:9000", "--outgauge-rate", "75", "--outgauge-id", "7"}, o).run);
  EXPECT_EQ(o.outgauge.rate, 75.0);
}

TEST(SimOptions, ValuesFlagsAndTheLastOfARepeat) {
  SimOptions o;
  std::string why;
  ASSERT_TRUE(sim({"--dir", "a", "--ticks", "12", "--input", "in.txt", "--telemetry", "t.csv", "--record", "--turbo",
                   "--manual", "--autopilot", "--dir", "b"},
                  o, why))
      << why;
  EXPECT_EQ(o.dir, "b");
  EXPECT_EQ(o.ticks, 12);
  EXPECT_EQ(o.inputPath, "in.txt");
  EXPECT_EQ(o.telemetryPath, "t.csv");
  EXPECT_TRUE(o.record && o.turbo && o.manual && o.autopilot);
  EXPECT_TRUE(o.playPath.empty());
  EXPECT_TRUE(o.helpText.empty());
}

TEST(SimOptions, VerifyGhostTakesEveryFileUpToTheNextOption) {
  SimOptions o;
  std::string why;
  ASSERT_TRUE(sim({"--verify-ghost", "a.ghost", "b.ghost", "--dir", "d", "--dir", "e"}, o, why)) << why;
  EXPECT_EQ(o.verifyGhostPaths, (std::vector<std::string>{"a.ghost", "b.ghost"}));
  EXPECT_EQ(o.dir, "e");
  EXPECT_FALSE(sim({"--verify-ghost"}, o, why));
}

TEST(SimOptions, RefusalsSayWhy) {
  struct Case {
    std::vector<std::string> words;
    std::string why;
  };
  const Case cases[] = {
      {{"--fly"}, "unknown option '--fly'"},
      {{"--dir"}, "--dir needs a value"},
      {{"--play", ""}, "--play needs a value"},
      {{"--ticks", "ten"}, "--ticks needs a whole number of ticks"},
      {{"--ticks", "-1"}, "--ticks needs a whole number of ticks"},
      {{"--ticks", "99999999999999999999"}, "--ticks needs a whole number of ticks"},
      {{"--board", "gopher://x"}, "--board needs an http:// or https:// URL"},
      {{"--submit", "lap.ghost"}, "--submit, --fetch-rival and --name need --board"},
      {{"--fetch-rival"}, "--submit, --fetch-rival and --name need --board"},
  };
  for (const Case& c : cases) {
    SimOptions o;
    std::string why;
    EXPECT_FALSE(sim(c.words, o, why)) << c.why;
    EXPECT_EQ(why, c.why);
  }
  EXPECT_EQ(std::string(simUsage()).rfind("usage: stravo-sim [--help] [--dir DIR] [--ticks N]", 0), 0u) << simUsage();
}

TEST(SimOptions, HelpNamesEveryOption) {
  SimOptions o;
  std::string why;
  ASSERT_TRUE(sim({"--help"}, o, why));
  // Each name with the space after it, so that "--outgauge" is not found inside "--outgauge-id".
  for (const char* name : {"--dir", "--ticks", "--input", "--telemetry", "--record", "--play", "--turbo", "--manual",
                           "--autopilot", "--ghost", "--verify-ghost", "--outgauge", "--outgauge-id", "--outgauge-rate"})
    EXPECT_NE(o.helpText.find(std::string(name) + " "), std::string::npos) << name;
}
