// The collector's embedded store: surveys and submissions in one SQLite file
// in WAL mode (layout and upgrades in sqlite_store_schema.h), for one
// collector: the password throttle counts in the collector's memory.
//
// Thread-safety: all methods may be called from any thread; database work is
// serialised by one mutex around the single connection, while the slow
// password checks run outside it.
#pragma once

#include <sqlite3.h>

#include <mutex>

#include "collector/submission_store.h"

namespace quorvant::collector {

class SqliteSubmissionStore : public SubmissionStore {
 public:
  // Opens or creates the database at path, upgrading an older layout.
  // Throws StoreError.
  explicit SqliteSubmissionStore(const std::string& path, Clock clock = {});
  ~SqliteSubmissionStore() override;

  Registration Register(const std::string& survey, const std::string& account,
                        const std::string& password) override;
  bool IsRegistered(const std::string& survey) override;
  std::optional<std::string> Submit(const std::string& survey, const std::string& remote,
                                    const std::string& agent, const FormFields& fields) override;
  FetchResult Fetch(const std::string& survey, const std::string& password,
                    const std::string& after) override;
  FetchStatus Clear(const std::string& survey, const std::string& password) override;

 private:
  int64_t Tick();  // the clock's next reading, remembered in the database
  std::optional<std::string> HashOf(const std::string& survey);
  // Checks the password against the survey's hash without holding the mutex.
  FetchStatus CheckPassword(const std::string& survey, const std::string& password);

  sqlite3* db_ = nullptr;
  Clock clock_;
  std::mutex mutex_;
};

}  // namespace quorvant::collector
