#include "board/sql_db.h"

#include <sqlite3.h>

namespace {

// How long a statement waits for another connection's write to finish.
constexpr int kBusyWaitMs = 10000;

class SqliteDb : public SqlDb {
 public:
  explicit SqliteDb(sqlite3* db) : db_(db) {}
  ~SqliteDb() override { sqlite3_close(db_); }
  SqlDialect dialect() const override { return SqlDialect::Sqlite; }
  bool lastWasUniqueViolation() const override { return uniqueViolation_; }

  bool exec(const std::string& sql, const std::vector<SqlValue>& params, std::vector<SqlRow>* rows,
            std::string& why) override {
    uniqueViolation_ = false;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), int(sql.size()), &stmt, nullptr) != SQLITE_OK) {
      why = sqlite3_errmsg(db_);
      return false;
    }
    bool ok = bind(stmt, params, why) && step(stmt, rows, why);
    sqlite3_finalize(stmt);
    return ok;
  }

 private:
  bool bind(sqlite3_stmt* stmt, const std::vector<SqlValue>& params, std::string& why) {
    for (size_t i = 0; i < params.size(); ++i) {
      std::string name = "$" + std::to_string(i + 1);
      int index = sqlite3_bind_parameter_index(stmt, name.c_str());
      if (index == 0) continue;
      const SqlValue& p = params[i];
      int rc = SQLITE_OK;
      switch (p.kind) {
        case SqlValue::Kind::Int: rc = sqlite3_bind_int64(stmt, index, p.integer); break;
        case SqlValue::Kind::Real: rc = sqlite3_bind_double(stmt, index, p.real); break;
        case SqlValue::Kind::Text:
          rc = sqlite3_bind_text(stmt, index, p.bytes.data(), int(p.bytes.size()), SQLITE_TRANSIENT);
          break;
        case SqlValue::Kind::Blob:
          rc = sqlite3_bind_blob(stmt, index, p.bytes.data(), int(p.bytes.size()), SQLITE_TRANSIENT);
          break;
      }
      if (rc != SQLITE_OK) {
        why = sqlite3_errmsg(db_);
        return false;
      }
    }
    return true;
  }

  bool step(sqlite3_stmt* stmt, std::vector<SqlRow>* rows, std::string& why) {
    for (;;) {
      int rc = sqlite3_step(stmt);
      if (rc == SQLITE_DONE) return true;
      if (rc != SQLITE_ROW) {
        why = sqlite3_errmsg(db_);
        uniqueViolation_ = sqlite3_extended_errcode(db_) == SQLITE_CONSTRAINT_UNIQUE ||
                           sqlite3_extended_errcode(db_) == SQLITE_CONSTRAINT_PRIMARYKEY;
        return false;
      }
      if (!rows) continue;
      SqlRow row;
      int n = sqlite3_column_count(stmt);
      for (int c = 0; c < n; ++c) {
        SqlCell cell;
        switch (sqlite3_column_type(stmt, c)) {
          case SQLITE_NULL: cell.null = true; break;
          case SQLITE_FLOAT: cell.value = exactRealText(sqlite3_column_double(stmt, c)); break;
          case SQLITE_BLOB: {
            const void* data = sqlite3_column_blob(stmt, c);
            int size = sqlite3_column_bytes(stmt, c);
            if (data) cell.value.assign(static_cast<const char*>(data), size_t(size));
            break;
          }
          default: {
            const unsigned char* text = sqlite3_column_text(stmt, c);
            int size = sqlite3_column_bytes(stmt, c);
            if (text) cell.value.assign(reinterpret_cast<const char*>(text), size_t(size));
          }
        }
        row.push_back(std::move(cell));
      }
      rows->push_back(std::move(row));
    }
  }

  sqlite3* db_;
  bool uniqueViolation_ = false;
};

bool run(sqlite3* db, const char* sql, std::string& why) {
  char* message = nullptr;
  if (sqlite3_exec(db, sql, nullptr, nullptr, &message) == SQLITE_OK) return true;
  why = message ? message : "cannot set up the database";
  sqlite3_free(message);
  return false;
}

}  // namespace

std::unique_ptr<SqlDb> openSqlite(const std::string& path, std::string& why) {
  sqlite3* db = nullptr;
  int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
  if (sqlite3_open_v2(path.c_str(), &db, flags, nullptr) != SQLITE_OK) {
    why = db ? sqlite3_errmsg(db) : "cannot open the database";
    sqlite3_close(db);
    return nullptr;
  }
  sqlite3_busy_timeout(db, kBusyWaitMs);
  // WAL lets readers go on during a write; a full sync at every commit makes an
  // answered lap survive even the machine going down, not only the process.
  if (!run(db, "PRAGMA journal_mode=WAL", why) || !run(db, "PRAGMA synchronous=FULL", why) ||
      !run(db, "PRAGMA foreign_keys=ON", why)) {
    sqlite3_close(db);
    return nullptr;
  }
  return std::make_unique<SqliteDb>(db);
}
