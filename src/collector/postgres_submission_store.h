// The store that several collectors share: surveys, submissions and the
// password throttle's records in one PostgreSQL database (layout and
// upgrades in pg_store_schema.h). Collectors keep nothing of their own, so a
// balancer may send any request to any of them.
//
// Stamps come from the database's clock, so the collectors' own clocks do
// not matter; each submission is one call of a database function under the
// survey's lock, and submissions arriving together share one commit (see pg_store_schema.cpp for
// why fetches never skip or repeat). Commits are durable as the server is configured (the collector
// never turns synchronous_commit off).
//
// While the database cannot be reached every method throws StoreUnavailable;
// the next call tries a fresh connection, so work resumes by itself.
//
// Thread-safety: all methods may be called from any thread; each borrows
// its own connection (pg_pool.h), and the slow password checks hold none.
#pragma once

#include <memory>

#include "collector/password_failures.h"
#include "collector/pg_pool.h"
#include "collector/pg_submit_batcher.h"
#include "collector/submission_store.h"

namespace quorvant::collector {

// A submission as another store kept it, for copying (store_copy.h).
struct CopiedSubmission {
  std::string key;  // the same for the same row of the same source, every time
  int64_t stamp;    // the 14-digit stamp as a number
  std::string remote, agent;
  std::string fields;  // encoded as form_encoding.h does
};

class PostgresSubmissionStore : public SubmissionStore {
 public:
  // Connects to the database conninfo names (any libpq connection string),
  // creating or upgrading its layout. clock, when given, replaces the
  // database's clock for stamps (tests). Throws StoreError, StoreUnavailable
  // when the database cannot be reached.
  explicit PostgresSubmissionStore(const std::string& conninfo, Clock clock = {});

  Registration Register(const std::string& survey, const std::string& account,
                        const std::string& password) override;
  bool IsRegistered(const std::string& survey) override;
  std::optional<std::string> Submit(const std::string& survey, const std::string& remote,
                                    const std::string& agent, const FormFields& fields) override;
  FetchResult Fetch(const std::string& survey, const std::string& password,
                    const std::string& after) override;
  FetchStatus Clear(const std::string& survey, const std::string& password) override;
  void CheckReachable() override;
  std::unique_ptr<PasswordFailures> SharedPasswordFailures() override;

  // Adds a survey as another store kept it; false when one of that name is
  // here already (it is left as it is).
  bool CopySurvey(const std::string& name, const std::string& account, const std::string& hash,
                  int64_t registered);
  // Adds the submissions whose key was not copied before, in one
  // transaction; returns how many were new.
  size_t CopySubmissions(const std::string& survey, const std::vector<CopiedSubmission>& rows);

 private:
  std::optional<std::string> TestSeconds() const;
  std::optional<std::string> HashOf(const std::string& survey);
  FetchStatus CheckPassword(const std::string& survey, const std::string& password);

  std::shared_ptr<PgPool> pool_;
  PgSubmitBatcher batcher_;
  Clock clock_;
};

}  // namespace quorvant::collector
