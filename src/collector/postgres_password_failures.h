// The password throttle's records in the database that the collectors
// share, counted by the database's clock: five wrong passwords a minute from
// one address, whichever collectors they went to.
//
// Thread-safety: every method may be called from any thread. Throws
// StoreError, StoreUnavailable while the database cannot be reached.
#pragma once

#include <memory>

#include "collector/password_failures.h"
#include "collector/pg_pool.h"

namespace quorvant::collector {

class PostgresPasswordFailures : public PasswordFailures {
 public:
  // pool must have prepared the statements of PgPasswordFailureStatements().
  explicit PostgresPasswordFailures(std::shared_ptr<PgPool> pool) : pool_(std::move(pool)) {}

  bool Refused(const std::string& key) override;
  int Failed(const std::string& key, const std::string& survey) override;
  void Succeeded(const std::string& key, const std::string& survey) override;

 private:
  std::shared_ptr<PgPool> pool_;
};

std::vector<PgStatement> PgPasswordFailureStatements();

}  // namespace quorvant::collector
