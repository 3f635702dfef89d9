#include "game/prop_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <vector>

namespace {

// Appends the bytes of a value (the test host is little-endian, like the file).
template <typename T>
void put(std::vector<uint8_t>& b, T v) {
  uint8_t raw[sizeof(T)];
  std::memcpy(raw, &v, sizeof(T));
  b.insert(b.end(), raw, raw + sizeof(T));
}

std::vector<uint8_t> propBytes(Vec3 start, float heading, int32_t count,
                               const std::vector<PropRecord>& records) {
  std::vector<uint8_t> b;
  for (double v : {start.x, start.y, start.z}) put(b, v);
  put(b, heading);
  put(b, count);
  for (const PropRecord& r : records) {
    for (double v : {r.position.x, r.position.y, r.position.z}) put(b, v);
    put(b, r.heading);
  }
  return b;
}

}  // namespace

TEST(PropFile, ReadsStartAndRecordsInOrder) {
  std::vector<uint8_t> b = propBytes({-71.5, 0.25, 133.0}, 170.0f, 2,
                                     {{{1.0, 2.0, 3.0}, 45.0f}, {{-4.0, 5.0, -6.5}, -90.0f}});
  PropFile f;
  std::string why;
  ASSERT_TRUE(parsePropFile(b.data(), b.size(), f, why));
  EXPECT_TRUE(why.empty());
  EXPECT_EQ(f.startPosition.x, -71.5);
  EXPECT_EQ(f.startPosition.z, 133.0);
  EXPECT_EQ(f.startHeading, 170.0f);
  ASSERT_EQ(f.props.size(), 2u);
  EXPECT_EQ(f.props[1].position.z, -6.5);
  EXPECT_EQ(f.props[1].heading, -90.0f);
}

TEST(PropFile, NoPropsStillSetsTheStart) {
  std::vector<uint8_t> b = propBytes({10.0, 1.0, -20.0}, 90.0f, 0, {});
  PropFile f;
  std::string why;
  ASSERT_TRUE(parsePropFile(b.data(), b.size(), f, why));
  EXPECT_EQ(f.startPosition.x, 10.0);
  EXPECT_EQ(f.startHeading, 90.0f);
  EXPECT_TRUE(f.props.empty());
}

TEST(PropFile, ShortOrLyingCountPlacesOnlyCompleteRecords) {
  std::vector<PropRecord> three = {{{1, 0, 1}, 0}, {{2, 0, 2}, 0}, {{3, 0, 3}, 0}};
  std::vector<uint8_t> b = propBytes({0, 0, 0}, 0.0f, 5, three);
  b.resize(b.size() - 1);  // the third record is cut
  PropFile f;
  std::string why;
  ASSERT_TRUE(parsePropFile(b.data(), b.size(), f, why));
  EXPECT_EQ(f.declaredCount, 5);
  ASSERT_EQ(f.props.size(), 2u);
  EXPECT_EQ(f.props[1].position.x, 2.0);
  EXPECT_FALSE(why.empty());

  b = propBytes({0, 0, 0}, 0.0f, -7, three);
  ASSERT_TRUE(parsePropFile(b.data(), b.size(), f, why));
  EXPECT_TRUE(f.props.empty());

  b = propBytes({0, 0, 0}, 0.0f, 0x7fffffff, three);
  ASSERT_TRUE(parsePropFile(b.data(), b.size(), f, why));
  EXPECT_EQ(f.props.size(), 3u);

  // A record that is not a number is left out; the rest stay in order.
  three[1].heading = std::numeric_limits<float>::infinity();
  b = propBytes({0, 0, 0}, 0.0f, 3, three);
  ASSERT_TRUE(parsePropFile(b.data(), b.size(), f, why));
  ASSERT_EQ(f.props.size(), 2u);
  EXPECT_EQ(f.props[1].position.x, 3.0);
}

TEST(PropFile, UnusableHeaderFailsAndLeavesTheOldStart) {
  PropFile f;
  f.startPosition = {5.0, 6.0, 7.0};
  std::string why;
  std::vector<uint8_t> b = propBytes({1, 2, 3}, 0.0f, 0, {});
  EXPECT_FALSE(parsePropFile(b.data(), 31, f, why));
  EXPECT_FALSE(why.empty());
  EXPECT_FALSE(parsePropFile(nullptr, 0, f, why));

  const double nan = std::numeric_limits<double>::quiet_NaN();
  b = propBytes({nan, 0, 0}, 0.0f, 0, {});
  EXPECT_FALSE(parsePropFile(b.data(), b.size(), f, why));
  EXPECT_EQ(f.startPosition.x, 5.0);
}
