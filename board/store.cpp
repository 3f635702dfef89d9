#include "board/store.h"

#include <cinttypes>
#include <cstdio>
#include <cstdlib>

namespace {

// How long a request waits for a free database connection.
constexpr std::chrono::seconds kConnectionWait{10};
// Held while a PostgreSQL schema is made, so that two boards starting at once
// do not both make it.
constexpr int64_t kMigrationLockKey = 0x5354524256424f41;

const char* const kLapColumns =
    "l.id, l.player_id, p.name, l.circuit, l.lap_class, l.ticks, l.lap_time, l.sector1, l.sector2, l.sector3, "
    "l.generator, l.track_id, l.created_at";
constexpr size_t kLapColumnCount = 13;

// The first schema, in each dialect's words for keys, blobs and reals.
std::vector<std::string> schemaV1(SqlDialect d) {
  bool pg = d == SqlDialect::Postgres;
  std::string key = pg ? "BIGSERIAL PRIMARY KEY" : "INTEGER PRIMARY KEY AUTOINCREMENT";
  std::string blob = pg ? "BYTEA" : "BLOB";
  std::string real = pg ? "DOUBLE PRECISION" : "REAL";
  return {
      "CREATE TABLE players (id " + key +
          ", name TEXT NOT NULL, name_key TEXT NOT NULL UNIQUE, token_hash TEXT NOT NULL UNIQUE, "
          "created_at BIGINT NOT NULL, last_submission BIGINT NOT NULL DEFAULT 0)",
      "CREATE TABLE laps (id " + key +
          ", player_id BIGINT NOT NULL REFERENCES players (id), circuit TEXT NOT NULL, "
          "lap_class TEXT NOT NULL, ticks INTEGER NOT NULL, lap_time " + real + " NOT NULL, sector1 " + real +
          " NOT NULL, sector2 " + real + " NOT NULL, sector3 " + real +
          " NOT NULL, generator INTEGER NOT NULL, track_id TEXT NOT NULL, created_at BIGINT NOT NULL, proof " + blob +
          " NOT NULL)",
      "CREATE TABLE bests (player_id BIGINT NOT NULL REFERENCES players (id), circuit TEXT NOT NULL, "
      "lap_class TEXT NOT NULL, lap_id BIGINT NOT NULL REFERENCES laps (id), ticks INTEGER NOT NULL, "
      "PRIMARY KEY (player_id, circuit, lap_class))",
      "CREATE INDEX bests_by_time ON bests (circuit, lap_class, ticks, lap_id)",
  };
}

int64_t toInt(const SqlCell& cell) { return cell.null ? 0 : std::strtoll(cell.value.c_str(), nullptr, 10); }
float toFloat(const SqlCell& cell) { return cell.null ? 0.0f : float(std::strtod(cell.value.c_str(), nullptr)); }

std::string trackIdText(uint64_t id) {
  char text[17];
  std::snprintf(text, sizeof(text), "%016" PRIx64, id);
  return text;
}

LapRecord lapOfRow(const SqlRow& row, size_t first) {
  LapRecord lap;
  if (row.size() < first + kLapColumnCount) return lap;
  const SqlCell* c = &row[first];
  lap.id = toInt(c[0]);
  lap.playerId = toInt(c[1]);
  lap.playerName = c[2].value;
  lap.circuit = c[3].value;
  lap.lapClass = c[4].value;
  lap.ticks = uint32_t(toInt(c[5]));
  lap.lapTime = toFloat(c[6]);
  for (int s = 0; s < 3; ++s) lap.sectors[s] = toFloat(c[7 + s]);
  lap.generatorVersion = int(toInt(c[10]));
  lap.trackId = std::strtoull(c[11].value.c_str(), nullptr, 16);
  lap.createdAt = toInt(c[12]);
  return lap;
}

// Runs statements in one transaction on one connection and rolls back on the
// first failure.
struct Transaction {
  SqlDb& db;
  bool open = false;
  std::string& why;

  Transaction(SqlDb& d, std::string& w) : db(d), why(w) {
    const char* begin = db.dialect() == SqlDialect::Sqlite ? "BEGIN IMMEDIATE" : "BEGIN";
    open = db.exec(begin, {}, nullptr, why);
  }
  ~Transaction() {
    std::string ignored;
    if (open) db.exec("ROLLBACK", {}, nullptr, ignored);
  }
  bool commit() {
    open = false;
    return db.exec("COMMIT", {}, nullptr, why);
  }
};

bool migrate(SqlDb& db, std::string& why) {
  Transaction t(db, why);
  if (!t.open) return false;
  if (db.dialect() == SqlDialect::Postgres &&
      !db.exec("SELECT pg_advisory_xact_lock($1)", {SqlValue::of(kMigrationLockKey)}, nullptr, why))
    return false;
  std::vector<SqlRow> rows;
  if (!db.exec("CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)", {}, nullptr, why) ||
      !db.exec("SELECT COALESCE(MAX(version), 0) FROM schema_version", {}, &rows, why))
    return false;
  int64_t version = rows.empty() ? 0 : toInt(rows[0][0]);
  if (version > kSchemaVersion) {
    why = "the database's schema version " + std::to_string(version) + " is newer than this program's";
    return false;
  }
  std::vector<std::vector<std::string>> migrations = {schemaV1(db.dialect())};
  for (int64_t v = version; v < int64_t(migrations.size()); ++v) {
    for (const std::string& sql : migrations[size_t(v)])
      if (!db.exec(sql, {}, nullptr, why)) return false;
    if (!db.exec("INSERT INTO schema_version (version) VALUES ($1)", {SqlValue::of(v + 1)}, nullptr, why))
      return false;
  }
  return t.commit();
}

bool isPostgresUrl(const std::string& url) {
  return url.rfind("postgresql://", 0) == 0 || url.rfind("postgres://", 0) == 0;
}

}  // namespace

// One connection taken from the pool for the length of one operation.
class Store::Lease {
 public:
  explicit Lease(Store& store) : store_(store) {
    std::unique_lock<std::mutex> lock(store_.mutex_);
    if (!store_.freed_.wait_for(lock, kConnectionWait, [this] { return !store_.free_.empty(); })) return;
    db_ = std::move(store_.free_.back());
    store_.free_.pop_back();
  }
  ~Lease() {
    if (!db_) return;
    {
      std::lock_guard<std::mutex> lock(store_.mutex_);
      store_.free_.push_back(std::move(db_));
    }
    store_.freed_.notify_one();
  }
  SqlDb* get() { return db_.get(); }

 private:
  Store& store_;
  std::unique_ptr<SqlDb> db_;
};

std::unique_ptr<Store> Store::open(const std::string& url, int connections, std::string& why) {
  auto store = std::make_unique<Store>();
  for (int i = 0; i < connections; ++i) {
    std::unique_ptr<SqlDb> db = isPostgresUrl(url) ? openPostgres(url, why) : openSqlite(url, why);
    if (!db) return nullptr;
    if (i == 0 && !migrate(*db, why)) return nullptr;
    store->free_.push_back(std::move(db));
  }
  return store;
}

namespace {

StoreResult noConnection(std::string& why) {
  why = "no database connection free";
  return StoreResult::Failed;
}

}  // namespace

StoreResult Store::createPlayer(const std::string& name, const std::string& tokenHash, int64_t now, Player& out,
                                std::string& why) {
  Lease lease(*this);
  SqlDb* db = lease.get();
  if (!db) return noConnection(why);
  std::string key;
  for (char c : name) key += (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
  std::vector<SqlRow> rows;
  if (!db->exec("INSERT INTO players (name, name_key, token_hash, created_at) VALUES ($1, $2, $3, $4) RETURNING id",
                {SqlValue::ofText(name), SqlValue::ofText(key), SqlValue::ofText(tokenHash), SqlValue::of(now)},
                &rows, why))
    return db->lastWasUniqueViolation() ? StoreResult::Duplicate : StoreResult::Failed;
  out.id = rows.empty() ? 0 : toInt(rows[0][0]);
  out.name = name;
  return StoreResult::Ok;
}

StoreResult Store::playerByToken(const std::string& tokenHash, Player& out, std::string& why) {
  Lease lease(*this);
  SqlDb* db = lease.get();
  if (!db) return noConnection(why);
  std::vector<SqlRow> rows;
  if (!db->exec("SELECT id, name FROM players WHERE token_hash = $1", {SqlValue::ofText(tokenHash)}, &rows, why))
    return StoreResult::Failed;
  if (rows.empty()) return StoreResult::NotFound;
  out.id = toInt(rows[0][0]);
  out.name = rows[0][1].value;
  return StoreResult::Ok;
}

StoreResult Store::claimSubmission(int64_t playerId, int64_t now, int64_t intervalMs, std::string& why) {
  Lease lease(*this);
  SqlDb* db = lease.get();
  if (!db) return noConnection(why);
  std::vector<SqlRow> rows;
  if (!db->exec("UPDATE players SET last_submission = $2 WHERE id = $1 AND last_submission <= $3 RETURNING id",
                {SqlValue::of(playerId), SqlValue::of(now), SqlValue::of(now - intervalMs)}, &rows, why))
    return StoreResult::Failed;
  return rows.empty() ? StoreResult::Duplicate : StoreResult::Ok;
}

StoreResult Store::addLap(const NewLap& lap, StoredLap& out, std::string& why) {
  Lease lease(*this);
  SqlDb* db = lease.get();
  if (!db) return noConnection(why);
  Transaction t(*db, why);
  if (!t.open) return StoreResult::Failed;
  std::vector<SqlRow> rows;
  if (!db->exec("INSERT INTO laps (player_id, circuit, lap_class, ticks, lap_time, sector1, sector2, sector3, "
                "generator, track_id, created_at, proof) VALUES ($1, $2, $3, $4, $5, $6, $7, $8, $9, $10, $11, $12) "
                "RETURNING id",
                {SqlValue::of(lap.playerId), SqlValue::ofText(lap.circuit), SqlValue::ofText(lap.lapClass),
                 SqlValue::of(lap.ticks), SqlValue::ofReal(lap.lapTime), SqlValue::ofReal(lap.sectors[0]),
                 SqlValue::ofReal(lap.sectors[1]), SqlValue::ofReal(lap.sectors[2]),
                 SqlValue::of(lap.generatorVersion), SqlValue::ofText(trackIdText(lap.trackId)),
                 SqlValue::of(lap.createdAt), SqlValue::ofBlob(lap.proof)},
                &rows, why) ||
      rows.empty())
    return StoreResult::Failed;
  out.lapId = toInt(rows[0][0]);
  std::vector<SqlValue> board = {SqlValue::of(lap.playerId), SqlValue::ofText(lap.circuit),
                                 SqlValue::ofText(lap.lapClass)};
  std::vector<SqlValue> best = board;
  best.push_back(SqlValue::of(out.lapId));
  best.push_back(SqlValue::of(lap.ticks));
  rows.clear();
  if (!db->exec("INSERT INTO bests (player_id, circuit, lap_class, lap_id, ticks) VALUES ($1, $2, $3, $4, $5) "
                "ON CONFLICT (player_id, circuit, lap_class) DO UPDATE SET lap_id = excluded.lap_id, "
                "ticks = excluded.ticks WHERE excluded.ticks < bests.ticks",
                best, nullptr, why) ||
      !db->exec("SELECT lap_id, (SELECT COUNT(*) FROM bests o WHERE o.circuit = b.circuit AND "
                "o.lap_class = b.lap_class AND o.ticks < b.ticks) FROM bests b WHERE b.player_id = $1 AND "
                "b.circuit = $2 AND b.lap_class = $3",
                board, &rows, why) ||
      rows.empty())
    return StoreResult::Failed;
  out.best = toInt(rows[0][0]) == out.lapId;
  out.rank = toInt(rows[0][1]) + 1;
  return t.commit() ? StoreResult::Ok : StoreResult::Failed;
}

StoreResult Store::board(const std::string& circuit, const std::string& lapClass, int64_t offset, int64_t limit,
                         std::vector<BoardRow>& out, int64_t& total, std::string& why) {
  Lease lease(*this);
  SqlDb* db = lease.get();
  if (!db) return noConnection(why);
  std::vector<SqlValue> which = {SqlValue::ofText(circuit), SqlValue::ofText(lapClass)};
  std::vector<SqlRow> rows;
  if (!db->exec("SELECT COUNT(*) FROM bests WHERE circuit = $1 AND lap_class = $2", which, &rows, why))
    return StoreResult::Failed;
  total = rows.empty() ? 0 : toInt(rows[0][0]);
  rows.clear();
  which.push_back(SqlValue::of(limit));
  which.push_back(SqlValue::of(offset));
  std::string sql = std::string("SELECT r.place, ") + kLapColumns +
                    " FROM (SELECT lap_id, RANK() OVER (ORDER BY ticks) AS place FROM bests WHERE circuit = $1 AND "
                    "lap_class = $2) r JOIN laps l ON l.id = r.lap_id JOIN players p ON p.id = l.player_id "
                    "ORDER BY r.place, l.id LIMIT $3 OFFSET $4";
  if (!db->exec(sql, which, &rows, why)) return StoreResult::Failed;
  out.clear();
  for (const SqlRow& row : rows) out.push_back({toInt(row[0]), lapOfRow(row, 1)});
  return StoreResult::Ok;
}

StoreResult Store::leaders(std::vector<Leader>& out, std::string& why) {
  Lease lease(*this);
  SqlDb* db = lease.get();
  if (!db) return noConnection(why);
  std::vector<SqlRow> rows;
  std::string sql = std::string("SELECT (SELECT COUNT(*) FROM bests c WHERE c.circuit = b.circuit AND "
                                "c.lap_class = b.lap_class), ") +
                    kLapColumns +
                    " FROM bests b JOIN laps l ON l.id = b.lap_id JOIN players p ON p.id = b.player_id "
                    "WHERE NOT EXISTS (SELECT 1 FROM bests o WHERE o.circuit = b.circuit AND o.lap_class = "
                    "b.lap_class AND (o.ticks < b.ticks OR (o.ticks = b.ticks AND o.lap_id < b.lap_id))) "
                    "ORDER BY b.circuit, b.lap_class";
  if (!db->exec(sql, {}, &rows, why)) return StoreResult::Failed;
  out.clear();
  for (const SqlRow& row : rows) {
    Leader leader;
    leader.laps = toInt(row[0]);
    leader.lap = lapOfRow(row, 1);
    leader.circuit = leader.lap.circuit;
    leader.lapClass = leader.lap.lapClass;
    out.push_back(std::move(leader));
  }
  return StoreResult::Ok;
}

StoreResult Store::lap(int64_t id, bool withProof, LapRecord& out, std::string& why) {
  Lease lease(*this);
  SqlDb* db = lease.get();
  if (!db) return noConnection(why);
  std::vector<SqlRow> rows;
  std::string sql = std::string("SELECT ") + kLapColumns + (withProof ? ", l.proof" : "") +
                    " FROM laps l JOIN players p ON p.id = l.player_id WHERE l.id = $1";
  if (!db->exec(sql, {SqlValue::of(id)}, &rows, why)) return StoreResult::Failed;
  if (rows.empty()) return StoreResult::NotFound;
  out = lapOfRow(rows[0], 0);
  if (withProof && rows[0].size() > kLapColumnCount) out.proof = rows[0][kLapColumnCount].value;
  return StoreResult::Ok;
}
