// The board's storage on a SQLite file: players and their unique names, each
// player's best per circuit and class with shared ranks, the submission
// interval, paging, and a schema that a reopening keeps and a newer one refuses.

#include "board/store.h"

#include <gtest/gtest.h>

#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace {

constexpr int kConnections = 2;

class BoardStore : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/stravo_board_store_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder = pattern;
    path = folder + "/board.sqlite";
    std::string why;
    store = Store::open(path, kConnections, why);
    ASSERT_NE(store, nullptr) << why;
  }
  void TearDown() override {
    store.reset();
    std::filesystem::remove_all(folder);
  }

  Player player(const std::string& name) {
    Player p;
    std::string why;
    EXPECT_EQ(store->createPlayer(name, "hash-" + name, 1000, p, why), StoreResult::Ok) << why;
    return p;
  }

  StoredLap add(const Player& p, uint32_t ticks, const std::string& lapClass = "plain") {
    NewLap lap;
    lap.playerId = p.id;
    lap.circuit = "default";
    lap.lapClass = lapClass;
    lap.ticks = ticks;
    lap.lapTime = float(ticks) / 75.0f;
    lap.sectors[0] = lap.sectors[1] = lap.sectors[2] = lap.lapTime / 3.0f;
    lap.generatorVersion = 5;
    lap.trackId = 0xfedcba9876543210ull;
    lap.createdAt = 2000;
    lap.proof = std::string("proof\0bytes", 11) + std::to_string(ticks);
    StoredLap out;
    std::string why;
    EXPECT_EQ(store->addLap(lap, out, why), StoreResult::Ok) << why;
    return out;
  }

  std::vector<BoardRow> board(const std::string& lapClass, int64_t offset = 0, int64_t limit = 50) {
    std::vector<BoardRow> rows;
    int64_t total = 0;
    std::string why;
    EXPECT_EQ(store->board("default", lapClass, offset, limit, rows, total, why), StoreResult::Ok) << why;
    return rows;
  }

  std::string folder, path;
  std::unique_ptr<Store> store;
};

TEST_F(BoardStore, NamesAreUniqueWhateverTheirCaseAndTokensFindTheirPlayer) {
  Player alice = player("Alice");
  Player same;
  std::string why;
  EXPECT_EQ(store->createPlayer("aLICE", "other", 1000, same, why), StoreResult::Duplicate);
  EXPECT_EQ(store->createPlayer("Bob", "hash-Alice", 1000, same, why), StoreResult::Duplicate);
  Player found;
  ASSERT_EQ(store->playerByToken("hash-Alice", found, why), StoreResult::Ok);
  EXPECT_EQ(found.id, alice.id);
  EXPECT_EQ(found.name, "Alice");
  EXPECT_EQ(store->playerByToken("' OR 1=1 --", found, why), StoreResult::NotFound);
}

TEST_F(BoardStore, EachPlayerKeepsTheBestLapPerClassAndEqualTimesShareARank) {
  Player a = player("Alice"), b = player("Bob"), c = player("Carol");
  EXPECT_EQ(add(a, 6000).rank, 1);
  StoredLap slower = add(a, 6100);
  EXPECT_FALSE(slower.best);
  EXPECT_EQ(slower.rank, 1);
  EXPECT_EQ(add(b, 5900).rank, 1);
  EXPECT_EQ(add(c, 6000).rank, 2);
  EXPECT_EQ(add(c, 6200, "turbo").rank, 1);

  std::vector<BoardRow> rows = board("plain");
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].lap.playerName, "Bob");
  EXPECT_EQ(rows[1].rank, 2);
  EXPECT_EQ(rows[2].rank, 2);
  EXPECT_EQ(rows[1].lap.playerName, "Alice");  // the earlier of two equal laps first
  EXPECT_EQ(rows[1].lap.ticks, 6000u);
  EXPECT_EQ(rows[1].lap.lapTime, 6000.0f / 75.0f);
  EXPECT_EQ(rows[1].lap.trackId, 0xfedcba9876543210ull);
  EXPECT_EQ(board("turbo").size(), 1u);

  std::vector<BoardRow> page = board("plain", 1, 1);
  ASSERT_EQ(page.size(), 1u);
  EXPECT_EQ(page[0].lap.playerName, "Alice");

  std::vector<Leader> leaders;
  std::string why;
  ASSERT_EQ(store->leaders(leaders, why), StoreResult::Ok);
  ASSERT_EQ(leaders.size(), 2u);
  EXPECT_EQ(leaders[0].lap.playerName, "Bob");
  EXPECT_EQ(leaders[0].laps, 3);
}

TEST_F(BoardStore, ProofsComeBackByteForByte) {
  StoredLap stored = add(player("Alice"), 6014);
  LapRecord lap;
  std::string why;
  ASSERT_EQ(store->lap(stored.lapId, true, lap, why), StoreResult::Ok);
  EXPECT_EQ(lap.proof, std::string("proof\0bytes6014", 15));
  EXPECT_EQ(store->lap(stored.lapId + 1, true, lap, why), StoreResult::NotFound);
}

TEST_F(BoardStore, SubmissionsWithinTheIntervalAreRefused) {
  Player a = player("Alice");
  std::string why;
  EXPECT_EQ(store->claimSubmission(a.id, 10000, 2000, why), StoreResult::Ok);
  EXPECT_EQ(store->claimSubmission(a.id, 11999, 2000, why), StoreResult::Duplicate);
  EXPECT_EQ(store->claimSubmission(a.id, 12000, 2000, why), StoreResult::Ok);
}

TEST_F(BoardStore, ReopeningKeepsTheDataAndANewerSchemaIsRefused) {
  add(player("Alice"), 6000);
  store.reset();
  std::string why;
  store = Store::open(path, kConnections, why);
  ASSERT_NE(store, nullptr) << why;
  EXPECT_EQ(board("plain").size(), 1u);
  store.reset();

  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, "INSERT INTO schema_version VALUES (99)", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(db);
  EXPECT_EQ(Store::open(path, kConnections, why), nullptr);
  EXPECT_NE(why.find("newer"), std::string::npos) << why;
}

}  // namespace
