// The board's small parsers and text: circuit names, player names, bearer
// tokens, HTML escaping, times and the leader's time along a trace.

#include "board/circuits.h"
#include "board/html.h"
#include "board/tokens.h"
#include "board/trace_svg.h"

#include <gtest/gtest.h>

namespace {

TEST(BoardText, CircuitNamesAreDefaultOrACanonicalSeed) {
  CircuitId id;
  ASSERT_TRUE(parseCircuitName("default", id));
  EXPECT_FALSE(id.seeded);
  ASSERT_TRUE(parseCircuitName("seed-4294967295", id));
  EXPECT_TRUE(id.seeded);
  EXPECT_EQ(id.seed, 4294967295u);
  EXPECT_EQ(circuitName(id), "seed-4294967295");
  ASSERT_TRUE(parseCircuitName("seed-0", id));
  EXPECT_EQ(circuitName(id), "seed-0");
  for (const char* bad : {"", "Default", "seed-", "seed-01", "seed--1", "seed-4294967296", "seed-1x",
                          "seed-99999999999", "../default", "default/"})
    EXPECT_FALSE(parseCircuitName(bad, id)) << bad;
}

TEST(BoardText, PlayerNamesAreThreeToTwentyFourPrintableCharacters) {
  EXPECT_TRUE(validPlayerName("Bob"));
  EXPECT_TRUE(validPlayerName(std::string(24, 'x')));
  EXPECT_TRUE(validPlayerName("<script>x</script>"));
  for (const std::string& bad : {std::string("ab"), std::string(25, 'x'), std::string("a\tb"), std::string("abc\n"),
                                 std::string(" abc"), std::string("abc "), std::string("a\0b", 3),
                                 std::string("caf\xc3\xa9")})
    EXPECT_FALSE(validPlayerName(bad)) << bad;
}

TEST(BoardText, TokensAreSixtyFourHexDigitsAndStoredHashed) {
  std::string token = newToken();
  ASSERT_EQ(token.size(), 64u);
  EXPECT_NE(token, newToken());
  EXPECT_EQ(bearerToken("Bearer " + token), token);
  for (const std::string& bad : {token, "bearer " + token, "Bearer " + token.substr(1), "Bearer " + token + "0",
                                 "Bearer " + std::string(63, '0') + "G", std::string("Bearer ")})
    EXPECT_EQ(bearerToken(bad), "") << bad;
  // SHA-256 of "abc".
  EXPECT_EQ(tokenHash("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}

TEST(BoardText, EveryMarkupCharacterIsEscaped) {
  EXPECT_EQ(escapeHtml("<a href=\"x\">'&'</a>"), "&lt;a href=&quot;x&quot;&gt;&#39;&amp;&#39;&lt;/a&gt;");
  EXPECT_EQ(escapeHtml("plain"), "plain");
}

TEST(BoardText, TimesReadAsTheGameShowsThem) {
  EXPECT_EQ(timeText(80.18891906738281f), "1:20.18");
  EXPECT_EQ(timeText(23.17f), "23.17");
  EXPECT_EQ(gapText(2.56f), "+2.56");
  EXPECT_EQ(dateText(0), "1970-01-01 00:00");
}

TEST(BoardText, LeaderTimeIsTakenAtTheSameShareOfItsLap) {
  std::vector<TraceSample> leader = {{0.0f, 0.0f, 10.0f}, {100.0f, 10.0f, 10.0f}, {200.0f, 30.0f, 5.0f}};
  constexpr float kTol = 1e-5f;
  EXPECT_NEAR(leaderTimeAt(leader, 50.0f, 200.0f), 5.0f, kTol);
  EXPECT_NEAR(leaderTimeAt(leader, 75.0f, 100.0f), 20.0f, kTol);  // three quarters of a shorter lap
  EXPECT_NEAR(leaderTimeAt(leader, 0.0f, 200.0f), 0.0f, kTol);
  EXPECT_NEAR(leaderTimeAt(leader, 300.0f, 200.0f), 30.0f, kTol);
  EXPECT_EQ(leaderTimeAt({}, 10.0f, 200.0f), 0.0f);
}

}  // namespace

TEST(CircuitNames, TheDaysCircuitIsSeededWithItsUtcDate) {
  // 2026-12-09 23:59:59 UTC and one second later.
  constexpr int64_t kLastSecondMs = 1796860799000;
  EXPECT_EQ(circuitName(dailyCircuit(kLastSecondMs)), "seed-20261209");
  EXPECT_EQ(circuitName(dailyCircuit(kLastSecondMs + 1000)), "seed-20261210");
}
