// Connections to one PostgreSQL database shared by the threads of a
// collector. A thread borrows a connection for one piece of work and gives it
// back; connections are opened when more threads need one than are idle, and
// every connection prepares the statements the owner names, so that requests
// only ever send parameters, never SQL.
//
// A lost connection is not fatal: work on it fails with StoreUnavailable,
// and the next borrower gets a fresh connection. When one connection is
// found lost, the idle ones opened before it are dropped too (the server
// most likely restarted), so that few requests meet a dead connection.
//
// Thread-safety: Borrow() and Run() may be called from any thread; a Lease
// belongs to the thread that borrowed it.
#pragma once

#include <libpq-fe.h>

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "collector/submission_store.h"

namespace quorvant::collector {

// A query result that frees itself.
class PgResult {
 public:
  explicit PgResult(PGresult* result) : result_(result, PQclear) {}
  int rows() const { return PQntuples(result_.get()); }
  bool IsNull(int row, int column) const { return PQgetisnull(result_.get(), row, column) != 0; }
  std::string Text(int row, int column) const {
    return std::string(PQgetvalue(result_.get(), row, column),
                       static_cast<size_t>(PQgetlength(result_.get(), row, column)));
  }
  int64_t Int(int row, int column) const { return std::stoll(Text(row, column)); }

 private:
  std::unique_ptr<PGresult, void (*)(PGresult*)> result_;
};

// Parameters in text form; nullopt is SQL NULL.
using PgParams = std::vector<std::optional<std::string>>;

struct PgStatement {
  const char* name;
  const char* sql;
};

class PgPool {
 public:
  class Lease {
   public:
    Lease(PgPool& pool, PGconn* conn, unsigned generation)
        : pool_(pool), conn_(conn), generation_(generation) {}
    ~Lease();
    Lease(const Lease&) = delete;
    Lease& operator=(const Lease&) = delete;

    // Runs a prepared statement. Throws StoreUnavailable when the connection
    // is lost or the server is shutting down, StoreError when the statement
    // fails otherwise.
    PgResult Run(const char* name, const PgParams& params);
    // Runs SQL without parameters (BEGIN, COMMIT); throws as Run().
    void Execute(const char* sql);

   private:
    PgResult Check(PGresult* result);
    PgPool& pool_;
    PGconn* conn_;
    unsigned generation_;
    bool lost_ = false;
  };

  PgPool(std::string conninfo, std::vector<PgStatement> statements);
  ~PgPool();
  PgPool(const PgPool&) = delete;
  PgPool& operator=(const PgPool&) = delete;

  // An idle connection, or a new one. Throws StoreUnavailable when none can
  // be opened.
  std::unique_ptr<Lease> Borrow();
  // Runs one prepared statement on a borrowed connection. With retry, work
  // that met a lost connection runs once more on a fresh one: for statements
  // that may safely run twice, never for one that stores a submission,
  // whose first run may have been committed.
  PgResult Run(const char* name, const PgParams& params, bool retry);

 private:
  struct Idle {
    PGconn* conn;
    unsigned generation;
  };
  PGconn* Open();
  void GiveBack(PGconn* conn, unsigned generation, bool lost);

  const std::string conninfo_;
  const std::vector<PgStatement> statements_;
  std::mutex mutex_;
  std::vector<Idle> idle_;
  unsigned generation_ = 0;  // raised whenever a connection is found lost
};

// Bytes as a bytea parameter in text form ("\\x" and hex digits), and a bytea
// column read back (the connection sends bytea as hex, see
// OpenPgConnection()).
std::string PgBytea(const std::string& bytes);
std::string FromPgBytea(const std::string& text);

// Opens one connection outside any pool (for setting up the schema). Throws
// StoreUnavailable with libpq's reason when it fails.
PGconn* OpenPgConnection(const std::string& conninfo);

}  // namespace quorvant::collector
