// A throw-away PostgreSQL cluster for tests and benchmarks: initdb into a
// fresh temporary folder, the server listening only on a socket in that
// folder and on one loopback port, stopped and removed again at the end.
//
// PostgreSQL refuses to run as root, so when the caller is root the server's
// programs run as the user "nobody", which then owns the folder. The
// programs are taken from the newest /usr/lib/postgresql/VERSION/bin (or
// $QUORVANT_PG_BINDIR).
//
// Clean-up happens also when the process dies without running destructors:
// a small watcher process stops the server and removes the folder as soon as
// the pipe from this process closes.
//
// Thread-safety: one thread at a time.
#pragma once

#include <sys/types.h>

#include <set>
#include <stdexcept>
#include <string>

namespace quorvant::testing {

class PgTempCluster {
 public:
  // Creates and starts the cluster. Throws std::runtime_error saying why
  // when the programs are missing or the server does not start.
  PgTempCluster();
  ~PgTempCluster();
  PgTempCluster(const PgTempCluster&) = delete;
  PgTempCluster& operator=(const PgTempCluster&) = delete;

  int port() const { return port_; }
  // A libpq connection string for database name over the loopback port.
  std::string ConnectionString(const std::string& name) const;
  // Creates database name unless it exists already. Throws std::runtime_error.
  void CreateDatabase(const std::string& name);
  // Stops the server (fast shutdown: connections are cut) and starts it
  // again on the same port. Throws std::runtime_error.
  void Stop();
  void Start();

 private:
  void PgCtl(const std::string& action);
  void Remove();

  std::string bin_;
  std::string dir_;
  int port_ = 0;
  int guard_pipe_ = -1;
  pid_t guard_ = -1;
  std::set<std::string> databases_;
};

// A loopback TCP port that was free a moment ago.
int FreeLoopbackPort();

// The cluster the tests of one program share, started on first use.
PgTempCluster& SharedPgTempCluster();

}  // namespace quorvant::testing
