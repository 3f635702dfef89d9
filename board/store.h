#pragma once

#include "board/sql_db.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// A player as the board knows them.
struct Player {
  int64_t id = 0;
  std::string name;
};

// An accepted lap to store.
struct NewLap {
  int64_t playerId = 0;
  std::string circuit;   // circuitName()
  std::string lapClass;  // lapClassName()
  uint32_t ticks = 0;
  float lapTime = 0.0f;
  float sectors[3] = {0.0f, 0.0f, 0.0f};
  int generatorVersion = 0;
  uint64_t trackId = 0;
  int64_t createdAt = 0;  // ms since 1970
  std::string proof;      // the file's bytes
};

// A stored lap.
struct LapRecord {
  int64_t id = 0;
  int64_t playerId = 0;
  std::string playerName;
  std::string circuit;
  std::string lapClass;
  uint32_t ticks = 0;
  float lapTime = 0.0f;
  float sectors[3] = {0.0f, 0.0f, 0.0f};
  int generatorVersion = 0;
  uint64_t trackId = 0;
  int64_t createdAt = 0;
  std::string proof;  // only when asked for
};

// One line of a board: a player's best lap of a circuit and class.
struct BoardRow {
  int64_t rank = 0;  // equal times share a rank
  LapRecord lap;
};

// The leader of each circuit and class that has laps.
struct Leader {
  std::string circuit;
  std::string lapClass;
  int64_t laps = 0;  // players on that board
  LapRecord lap;
};

// What storing a lap gave.
struct StoredLap {
  int64_t lapId = 0;
  int64_t rank = 0;   // the player's place on the board after it
  bool best = false;  // the lap became the player's best
};

enum class StoreResult { Ok, Duplicate, NotFound, Failed };

// The board's data in one SQL database, SQLite or PostgreSQL, over a few
// connections. The schema is made and migrated on open. Every statement binds
// its values; each change is one transaction, committed before it returns.
class Store {
 public:
  // `url` is a postgresql:// URI or the path of a SQLite file.
  static std::unique_ptr<Store> open(const std::string& url, int connections, std::string& why);

  StoreResult createPlayer(const std::string& name, const std::string& tokenHash, int64_t now, Player& out,
                           std::string& why);
  StoreResult playerByToken(const std::string& tokenHash, Player& out, std::string& why);
  // Claims the player's next submission at `now` (ms) unless the previous one
  // was less than `intervalMs` ago: Ok, or Duplicate when too soon.
  StoreResult claimSubmission(int64_t playerId, int64_t now, int64_t intervalMs, std::string& why);
  StoreResult addLap(const NewLap& lap, StoredLap& out, std::string& why);
  StoreResult board(const std::string& circuit, const std::string& lapClass, int64_t offset, int64_t limit,
                    std::vector<BoardRow>& rows, int64_t& total, std::string& why);
  StoreResult leaders(std::vector<Leader>& out, std::string& why);
  StoreResult lap(int64_t id, bool withProof, LapRecord& out, std::string& why);

 private:
  class Lease;
  std::vector<std::unique_ptr<SqlDb>> free_;
  std::mutex mutex_;
  std::condition_variable freed_;
};

// The schema version this program makes and reads.
constexpr int kSchemaVersion = 1;
