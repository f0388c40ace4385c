#include "collector/pg_pool.h"

#include <cstring>

namespace quorvant::collector {
namespace {

// Idle connections kept beyond this are closed: enough for the HTTP
// threads, fewer than a server's connection limit shared by collectors.
constexpr size_t kMaxIdle = 16;

std::string Reason(PGconn* conn) {
  std::string why = conn ? PQerrorMessage(conn) : "out of memory";
  while (!why.empty() && (why.back() == '\n' || why.back() == ' ')) why.pop_back();
  return why;
}

// Connection failures (class 08) and shutdowns (57P01 to 57P03) mean the
// server is away, not that the statement is wrong.
bool MeansServerAway(const char* sqlstate) {
  return sqlstate &&
         (std::strncmp(sqlstate, "08", 2) == 0 || std::strncmp(sqlstate, "57P", 3) == 0);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string PgBytea(const std::string& bytes) {
  static const char kHex[] = "0123456789abcdef";
  std::string text = "\\x";
  text.reserve(2 + 2 * bytes.size());
  for (unsigned char c : bytes) {
    text += kHex[c >> 4];
    text += kHex[c & 15];
  }
  return text;
}

std::string FromPgBytea(const std::string& text) {
  std::string bytes;
  if (!text.starts_with("\\x")) throw StoreError("the database sent bytes in an unknown form");
  for (size_t i = 2; i + 1 < text.size(); i += 2) {
    const int high = HexDigit(text[i]), low = HexDigit(text[i + 1]);
    if (high < 0 || low < 0) throw StoreError("the database sent bytes in an unknown form");
    bytes += static_cast<char>(high << 4 | low);
  }
  return bytes;
}

PGconn* OpenPgConnection(const std::string& conninfo) {
  // Given before dbname, which expands the caller's string, so the caller's
  // own settings win.
  const char* keywords[] = {"connect_timeout", "application_name", "dbname", nullptr};
  const char* values[] = {"5", "quorvant-collector", conninfo.c_str(), nullptr};
  PGconn* conn = PQconnectdbParams(keywords, values, 1);
  if (!conn || PQstatus(conn) != CONNECTION_OK) {
    const std::string why = Reason(conn);
    PQfinish(conn);
    throw StoreUnavailable("cannot connect to the database: " + why);
  }
  // Bytes come back in the form FromPgBytea() reads, whatever the server's default;
  // notices (such as "already exists, skipping") stay off the log.
  PGresult* set = PQexec(conn, "SET bytea_output = hex; SET client_min_messages = warning");
  const bool ok = set && PQresultStatus(set) == PGRES_COMMAND_OK;
  PQclear(set);
  if (!ok) {
    const std::string why = Reason(conn);
    PQfinish(conn);
    throw StoreUnavailable("lost the database connection: " + why);
  }
  return conn;
}

PgPool::PgPool(std::string conninfo, std::vector<PgStatement> statements)
    : conninfo_(std::move(conninfo)), statements_(std::move(statements)) {}

PgPool::~PgPool() {
  for (const Idle& idle : idle_) PQfinish(idle.conn);
}

PGconn* PgPool::Open() {
  PGconn* conn = OpenPgConnection(conninfo_);
  for (const PgStatement& s : statements_) {
    PGresult* prepared = PQprepare(conn, s.name, s.sql, 0, nullptr);
    const bool ok = prepared && PQresultStatus(prepared) == PGRES_COMMAND_OK;
    const std::string why = prepared ? PQresultErrorMessage(prepared) : Reason(conn);
    PQclear(prepared);
    if (!ok) {
      const bool away = PQstatus(conn) != CONNECTION_OK;
      PQfinish(conn);
      if (away) throw StoreUnavailable("lost the database connection: " + why);
      throw StoreError(std::string("cannot prepare ") + s.name + ": " + why);
    }
  }
  return conn;
}

std::unique_ptr<PgPool::Lease> PgPool::Borrow() {
  unsigned generation = 0;
  {
    std::lock_guard lock(mutex_);
    while (!idle_.empty()) {
      const Idle idle = idle_.back();
      idle_.pop_back();
      if (idle.generation == generation_)
        return std::make_unique<Lease>(*this, idle.conn, idle.generation);
      PQfinish(idle.conn);
    }
    generation = generation_;
  }
  return std::make_unique<Lease>(*this, Open(), generation);
}

void PgPool::GiveBack(PGconn* conn, unsigned generation, bool lost) {
  std::unique_lock lock(mutex_);
  if (lost) {
    if (generation == generation_) ++generation_;
  } else if (generation == generation_ && idle_.size() < kMaxIdle &&
             PQtransactionStatus(conn) == PQTRANS_IDLE) {
    idle_.push_back({conn, generation});
    return;
  }
  lock.unlock();
  PQfinish(conn);
}

PgResult PgPool::Run(const char* name, const PgParams& params, bool retry) {
  for (int attempt = 0;; ++attempt) {
    try {
      return Borrow()->Run(name, params);
    } catch (const StoreUnavailable&) {
      if (!retry || attempt > 0) throw;
    }
  }
}

PgPool::Lease::~Lease() { pool_.GiveBack(conn_, generation_, lost_); }

PgResult PgPool::Lease::Check(PGresult* raw) {
  PgResult result(raw);
  const ExecStatusType status = raw ? PQresultStatus(raw) : PGRES_FATAL_ERROR;
  if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK) return result;
  const std::string why = raw ? PQresultErrorMessage(raw) : Reason(conn_);
  if (!raw || PQstatus(conn_) != CONNECTION_OK ||
      MeansServerAway(PQresultErrorField(raw, PG_DIAG_SQLSTATE))) {
    lost_ = true;
    throw StoreUnavailable("lost the database connection: " + why);
  }
  throw StoreError("database error: " + why);
}

PgResult PgPool::Lease::Run(const char* name, const PgParams& params) {
  std::vector<const char*> values;
  values.reserve(params.size());
  for (const auto& p : params) values.push_back(p ? p->c_str() : nullptr);
  return Check(PQexecPrepared(conn_, name, static_cast<int>(values.size()), values.data(), nullptr,
                              nullptr, 0));
}

void PgPool::Lease::Execute(const char* sql) { Check(PQexec(conn_, sql)); }

}  // namespace quorvant::collector
