#include "game/best_times.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

BestTimes tableOf(std::initializer_list<float> firstClass, std::initializer_list<float> turboClass) {
  BestTimes table;
  int i = 0;
  for (float t : firstClass) table.entries[i++] = t;
  i = kBestTimesPerClass;
  for (float t : turboClass) table.entries[i++] = t;
  return table;
}

std::vector<unsigned char> fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

void writeBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

}  // namespace

TEST(BestTimes, EmptyPlaceIsTheSinglePrecisionValue) {
  EXPECT_EQ(double(BestTimes().entries[9]), 599.9949951171875);
}

TEST(BestTimes, FirstLapGoesToTheTopAndPushesTheOthersDown) {
  BestTimes table = tableOf({80, 90, 100, 110, 120}, {});
  EXPECT_EQ(offerLap(table, 75.5f, LapClass::Plain), 0);
  const float expected[5] = {75.5f, 80, 90, 100, 110};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(table.entries[i], expected[i]) << i;
}

TEST(BestTimes, SlowerThanEveryPlaceLeavesTheTable) {
  BestTimes table = tableOf({80, 90, 100, 110, 120}, {});
  EXPECT_EQ(offerLap(table, 120.0f, LapClass::Plain), -1);
  EXPECT_EQ(table.entries[4], 120.0f);
}

TEST(BestTimes, EqualTimeGoesBehindTheOlderLap) {
  BestTimes table = tableOf({80, 90, 100, 110, 120}, {});
  EXPECT_EQ(offerLap(table, 100.0f, LapClass::Plain), 3);
  EXPECT_EQ(table.entries[2], 100.0f);
  EXPECT_EQ(table.entries[3], 100.0f);
  EXPECT_EQ(table.entries[4], 110.0f);
}

TEST(BestTimes, ClassesNeverMix) {
  BestTimes table;
  offerLap(table, 70.0f, LapClass::Turbo);
  for (int i = 0; i < kBestTimesPerClass; ++i) EXPECT_EQ(table.entries[i], kEmptyLapTime);
  EXPECT_EQ(bestOfClass(table, LapClass::Turbo), 70.0f);
  offerLap(table, 90.0f, LapClass::Plain);
  EXPECT_EQ(bestOfClass(table, LapClass::Plain), 90.0f);
  EXPECT_EQ(table.entries[6], kEmptyLapTime);
}

TEST(BestTimes, FileImageIsTenLittleEndianFloats) {
  BestTimes table = tableOf({1.0f}, {});
  uint8_t image[kBestTimesFileSize];
  serializeBestTimes(table, image);
  // 1.0f is 0x3F800000.
  EXPECT_EQ(image[0], 0x00);
  EXPECT_EQ(image[2], 0x80);
  EXPECT_EQ(image[3], 0x3F);
  BestTimes back;
  back.entries[0] = 0.0f;
  int rejected = -1;
  EXPECT_EQ(parseBestTimes(image, sizeof(image), back, rejected), 10);
  EXPECT_EQ(rejected, 0);
  for (int i = 0; i < kBestTimeCount; ++i) EXPECT_EQ(back.entries[i], table.entries[i]);
}

TEST(BestTimes, ShortOrLongDataTakesOnlyCompleteLeadingEntries) {
  BestTimes source = tableOf({61, 62, 63, 64, 65}, {71, 72, 73, 74, 75});
  uint8_t image[kBestTimesFileSize + 4];
  serializeBestTimes(source, image);
  image[40] = image[41] = image[42] = image[43] = 0;

  int rejected = 0;
  BestTimes shortRead;
  EXPECT_EQ(parseBestTimes(image, 11, shortRead, rejected), 2);
  EXPECT_EQ(shortRead.entries[1], 62.0f);
  EXPECT_EQ(shortRead.entries[2], kEmptyLapTime);

  BestTimes longRead;
  EXPECT_EQ(parseBestTimes(image, sizeof(image), longRead, rejected), 10);
  EXPECT_EQ(longRead.entries[9], 75.0f);
}

TEST(BestTimes, ValuesThatAreNoTimesLeaveEmptyPlacesButZeroIsKept) {
  BestTimes source = tableOf({0.0f, -1.0f, std::nanf(""), INFINITY, 70.0f}, {});
  uint8_t image[kBestTimesFileSize];
  serializeBestTimes(source, image);
  BestTimes table;
  int rejected = 0;
  parseBestTimes(image, sizeof(image), table, rejected);
  EXPECT_EQ(rejected, 3);
  EXPECT_EQ(table.entries[0], 0.0f);
  EXPECT_EQ(table.entries[1], kEmptyLapTime);
  EXPECT_EQ(table.entries[2], kEmptyLapTime);
  EXPECT_EQ(table.entries[3], kEmptyLapTime);
  EXPECT_EQ(table.entries[4], 70.0f);
}

TEST(BestTimes, SaveAndLoadRoundTripThroughTheFile) {
  const std::string path = "best_times_test_roundtrip.dat";
  std::remove(path.c_str());
  BestTimes table = tableOf({75.5f, 80}, {66.25f});
  ASSERT_TRUE(saveBestTimes(path.c_str(), table));
  EXPECT_EQ(fileBytes(path).size(), kBestTimesFileSize);
  // Nothing is left behind beside the table.
  EXPECT_TRUE(fileBytes(path + ".tmp").empty());

  BestTimes loaded;
  loaded.entries[4] = 1.0f;
  ASSERT_TRUE(loadBestTimes(path.c_str(), loaded));
  for (int i = 0; i < kBestTimeCount; ++i) EXPECT_EQ(loaded.entries[i], table.entries[i]) << i;
  std::remove(path.c_str());
}

TEST(BestTimes, SaveReplacesAnOlderLongerFile) {
  const std::string path = "best_times_test_replace.dat";
  writeBytes(path, std::vector<unsigned char>(100, 0xAB));
  ASSERT_TRUE(saveBestTimes(path.c_str(), BestTimes()));
  EXPECT_EQ(fileBytes(path).size(), kBestTimesFileSize);
  std::remove(path.c_str());
}

TEST(BestTimes, MissingOrShortFileLeavesEmptyPlaces) {
  BestTimes table = tableOf({1, 2, 3}, {});
  EXPECT_FALSE(loadBestTimes("best_times_test_missing.dat", table));
  for (float t : table.entries) EXPECT_EQ(t, kEmptyLapTime);

  const std::string path = "best_times_test_short.dat";
  uint8_t image[kBestTimesFileSize];
  serializeBestTimes(tableOf({42, 43}, {}), image);
  writeBytes(path, std::vector<unsigned char>(image, image + 6));
  ASSERT_TRUE(loadBestTimes(path.c_str(), table));
  EXPECT_EQ(table.entries[0], 42.0f);
  EXPECT_EQ(table.entries[1], kEmptyLapTime);
  std::remove(path.c_str());
}

TEST(BestTimes, SaveIntoAMissingFolderFailsCleanly) {
  EXPECT_FALSE(saveBestTimes("no_such_folder_for_best_times/toptimes.dat", BestTimes()));
}
