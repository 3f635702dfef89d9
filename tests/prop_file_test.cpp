#include "game/prop_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace {

constexpr double kPosTol = 1e-9;

void putDouble(std::vector<uint8_t>& b, double v) {
  uint8_t raw[8];
  std::memcpy(raw, &v, 8);
  b.insert(b.end(), raw, raw + 8);
}
void putFloat(std::vector<uint8_t>& b, float v) {
  uint8_t raw[4];
  std::memcpy(raw, &v, 4);
  b.insert(b.end(), raw, raw + 4);
}
void putInt(std::vector<uint8_t>& b, int32_t v) {
  uint8_t raw[4];
  std::memcpy(raw, &v, 4);
  b.insert(b.end(), raw, raw + 4);
}

std::vector<uint8_t> propBytes(Vec3 start, float heading, int32_t count,
                               const std::vector<PropRecord>& records) {
  std::vector<uint8_t> b;
  putDouble(b, start.x);
  putDouble(b, start.y);
  putDouble(b, start.z);
  putFloat(b, heading);
  putInt(b, count);
  for (const PropRecord& r : records) {
    putDouble(b, r.position.x);
    putDouble(b, r.position.y);
    putDouble(b, r.position.z);
    putFloat(b, r.heading);
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

TEST(PropFile, NonFiniteRecordIsLeftOut) {
  const float inf = std::numeric_limits<float>::infinity();
  std::vector<uint8_t> b = propBytes({0, 0, 0}, 0.0f, 2, {{{1, 0, 1}, inf}, {{2, 0, 2}, 10.0f}});
  PropFile f;
  std::string why;
  ASSERT_TRUE(parsePropFile(b.data(), b.size(), f, why));
  ASSERT_EQ(f.props.size(), 1u);
  EXPECT_EQ(f.props[0].position.x, 2.0);
}

TEST(PropFile, RestartStandsTwentyMetresBackAlongTheHeading) {
  Vec3 p = restartPosition({10.0, 1.0, -5.0}, 0.0f);
  EXPECT_NEAR(p.x, 10.0, kPosTol);
  EXPECT_NEAR(p.y, 1.0 + double(0.7f), kPosTol);
  EXPECT_NEAR(p.z, 15.0, kPosTol);
  p = restartPosition({0.0, 0.0, 0.0}, 90.0f);
  EXPECT_NEAR(p.x, 20.0, 1e-6);
  EXPECT_NEAR(p.z, 0.0, 1e-6);
}
