#include "board/circuits.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <string>

namespace {

// 2026-12-09 23:59:59 UTC.
constexpr int64_t kLastSecondMs = 1796860799000;
// 2027-01-01 00:00:00 UTC.
constexpr int64_t kNewYearMs = 1798761600000;

CircuitId seed(uint32_t n) { return CircuitId{true, n}; }

}  // namespace

TEST(CircuitCache, TodaysAndYesterdaysDailyCircuitsAreRecent) {
  EXPECT_TRUE(isRecentDaily(seed(20261209), kLastSecondMs));
  EXPECT_TRUE(isRecentDaily(seed(20261208), kLastSecondMs));
  EXPECT_FALSE(isRecentDaily(seed(20261207), kLastSecondMs));
  EXPECT_FALSE(isRecentDaily(seed(20261210), kLastSecondMs));
  // Over the year's end the day before is the last of December.
  EXPECT_TRUE(isRecentDaily(seed(20270101), kNewYearMs));
  EXPECT_TRUE(isRecentDaily(seed(20261231), kNewYearMs));
  EXPECT_FALSE(isRecentDaily(seed(20261230), kNewYearMs));
  EXPECT_FALSE(isRecentDaily(CircuitId(), kNewYearMs));
}

// Each data set made here takes about a second.
TEST(CircuitCache, RecentDailyCircuitsAreMadePastTheLimit) {
  namespace fs = std::filesystem;
  char pattern[] = "/tmp/stravo_circuits_XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  std::string root = pattern, folder, why;
  CircuitCache cache(root, 1);
  ASSERT_TRUE(cache.folderOf(seed(7), kLastSecondMs, folder, why)) << why;
  EXPECT_FALSE(cache.folderOf(seed(8), kLastSecondMs, folder, why));
  EXPECT_EQ(why, "too many circuits on this board");
  for (uint32_t day : {20261209u, 20261208u}) {
    why.clear();
    ASSERT_TRUE(cache.folderOf(seed(day), kLastSecondMs, folder, why)) << day << ": " << why;
    EXPECT_TRUE(fs::exists(folder + "/data/models/track1.rmd")) << folder;
  }
  // Yesterday's, once made, stays served the day after; the one before it is one circuit too many.
  EXPECT_TRUE(cache.folderOf(seed(20261208), kLastSecondMs + 24 * 3600 * 1000, folder, why));
  EXPECT_FALSE(cache.folderOf(seed(20261207), kLastSecondMs, folder, why));
  fs::remove_all(root);
}
