#include "board/sql_db.h"

#include <libpq-fe.h>

#include <cstring>

namespace {

// PostgreSQL's type number of bytea, whose text form is hex.
constexpr Oid kByteaOid = 17;
// The SQLSTATE of a broken unique constraint.
constexpr const char* kUniqueViolation = "23505";

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// bytea's hex text form "\x0a1b..." as bytes; anything else as it stands.
std::string byteaBytes(const char* text, size_t size) {
  if (size < 2 || text[0] != '\\' || text[1] != 'x') return std::string(text, size);
  std::string out;
  out.reserve((size - 2) / 2);
  for (size_t i = 2; i + 1 < size; i += 2) {
    int hi = hexDigit(text[i]), lo = hexDigit(text[i + 1]);
    if (hi < 0 || lo < 0) break;
    out.push_back(char(hi * 16 + lo));
  }
  return out;
}

class PostgresDb : public SqlDb {
 public:
  explicit PostgresDb(PGconn* conn) : conn_(conn) {}
  ~PostgresDb() override { PQfinish(conn_); }
  SqlDialect dialect() const override { return SqlDialect::Postgres; }
  bool lastWasUniqueViolation() const override { return uniqueViolation_; }

  bool exec(const std::string& sql, const std::vector<SqlValue>& params, std::vector<SqlRow>* rows,
            std::string& why) override {
    uniqueViolation_ = false;
    // A connection the server dropped comes back once before the statement.
    if (PQstatus(conn_) != CONNECTION_OK) PQreset(conn_);
    std::vector<std::string> texts(params.size());
    std::vector<const char*> values(params.size());
    std::vector<int> lengths(params.size()), formats(params.size());
    for (size_t i = 0; i < params.size(); ++i) {
      const SqlValue& p = params[i];
      switch (p.kind) {
        case SqlValue::Kind::Int: texts[i] = std::to_string(p.integer); break;
        case SqlValue::Kind::Real: texts[i] = exactRealText(p.real); break;
        case SqlValue::Kind::Text:
        case SqlValue::Kind::Blob: texts[i] = p.bytes; break;
      }
      values[i] = texts[i].data();
      lengths[i] = int(texts[i].size());
      formats[i] = p.kind == SqlValue::Kind::Blob ? 1 : 0;
    }
    PGresult* result = PQexecParams(conn_, sql.c_str(), int(params.size()), nullptr, values.data(),
                                    lengths.data(), formats.data(), 0);
    ExecStatusType status = PQresultStatus(result);
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
      why = PQresultErrorMessage(result);
      const char* state = PQresultErrorField(result, PG_DIAG_SQLSTATE);
      uniqueViolation_ = state && std::strcmp(state, kUniqueViolation) == 0;
      PQclear(result);
      return false;
    }
    if (rows) {
      int n = PQntuples(result), columns = PQnfields(result);
      for (int r = 0; r < n; ++r) {
        SqlRow row;
        for (int c = 0; c < columns; ++c) {
          SqlCell cell;
          cell.null = PQgetisnull(result, r, c) != 0;
          const char* text = PQgetvalue(result, r, c);
          size_t size = size_t(PQgetlength(result, r, c));
          if (!cell.null)
            cell.value = PQftype(result, c) == kByteaOid ? byteaBytes(text, size) : std::string(text, size);
          row.push_back(std::move(cell));
        }
        rows->push_back(std::move(row));
      }
    }
    PQclear(result);
    return true;
  }

 private:
  PGconn* conn_;
  bool uniqueViolation_ = false;
};

}  // namespace

std::unique_ptr<SqlDb> openPostgres(const std::string& url, std::string& why) {
  PGconn* conn = PQconnectdb(url.c_str());
  if (PQstatus(conn) != CONNECTION_OK) {
    why = PQerrorMessage(conn);
    PQfinish(conn);
    return nullptr;
  }
  return std::make_unique<PostgresDb>(conn);
}
