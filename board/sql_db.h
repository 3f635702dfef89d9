#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// One parameter of a statement, always bound, never pasted into the SQL.
struct SqlValue {
  enum class Kind { Int, Real, Text, Blob };
  Kind kind = Kind::Int;
  int64_t integer = 0;
  double real = 0.0;
  std::string bytes;  // text or blob

  static SqlValue of(int64_t v);
  static SqlValue ofReal(double v);
  static SqlValue ofText(std::string v);
  static SqlValue ofBlob(std::string v);
};

// A result cell: the value's text (integers and reals in decimal, exact for
// reals), or a blob's bytes.
struct SqlCell {
  bool null = false;
  std::string value;
};
using SqlRow = std::vector<SqlCell>;

// A real in decimal with every digit it needs to read back the same.
std::string exactRealText(double v);

// The two SQL dialects the board speaks.
enum class SqlDialect { Sqlite, Postgres };

// One connection to a database. Statements use $1, $2, ... for parameters in
// both dialects. Every failure is a false return with the reason.
class SqlDb {
 public:
  virtual ~SqlDb() = default;
  virtual SqlDialect dialect() const = 0;
  // Runs one statement; rows (when not null) receive what it returns.
  virtual bool exec(const std::string& sql, const std::vector<SqlValue>& params, std::vector<SqlRow>* rows,
                    std::string& why) = 0;
  // Whether the last failure was a broken unique constraint.
  virtual bool lastWasUniqueViolation() const = 0;
};

// SQLite file at `path`, in WAL mode with full syncs and a busy wait.
std::unique_ptr<SqlDb> openSqlite(const std::string& path, std::string& why);
// PostgreSQL through libpq; `url` is a postgresql:// connection URI.
std::unique_ptr<SqlDb> openPostgres(const std::string& url, std::string& why);
