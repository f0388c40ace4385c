// The collector's database: registered surveys and their submissions, kept
// in one SQLite file in WAL mode.
//
// Every submission gets a stamp from a clock that never goes back (see
// stamp_clock.h); Fetch() hands out only submissions whose second has fully
// passed, so that successive fetches with the last stamp received never skip
// or repeat a submission.
//
// Thread-safety: all methods may be called from any thread; they are
// serialised by one mutex around the single connection.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "collector/form_decoding.h"

namespace quorvant::collector {

// Raised when the database cannot be opened or written; what() says why.
class StoreError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Submission {
  std::string stamp;   // 14 digits
  std::string remote;  // client address
  std::string agent;   // browser identification
  FormFields fields;   // the answers as posted
};

enum class Registration { kRegistered, kRenewed, kPasswordMismatch };
enum class FetchStatus { kOk, kUnknownSurvey, kWrongPassword };

struct FetchResult {
  FetchStatus status = FetchStatus::kOk;
  std::vector<Submission> submissions;  // oldest first
};

class SubmissionStore {
 public:
  using Clock = std::function<int64_t()>;  // seconds since 1970

  // Opens or creates the database at path. Throws StoreError.
  explicit SubmissionStore(const std::string& path, Clock clock = {});
  ~SubmissionStore();
  SubmissionStore(const SubmissionStore&) = delete;
  SubmissionStore& operator=(const SubmissionStore&) = delete;

  // Registers a survey under its password. Registering again with the same
  // password renews it (the account may change); another password is
  // refused, so nobody takes over someone else's survey.
  Registration Register(const std::string& survey, const std::string& account,
                        const std::string& password);

  bool IsRegistered(const std::string& survey);

  // Stores one submission of a registered survey and returns its stamp;
  // nothing when the survey is not registered. Throws StoreError.
  std::optional<std::string> Submit(const std::string& survey, const std::string& remote,
                                    const std::string& agent, const FormFields& fields);

  // The submissions with a stamp above after (empty: all) whose second has
  // passed, after checking the password.
  FetchResult Fetch(const std::string& survey, const std::string& password,
                    const std::string& after);

  // Deletes every submission of the survey after checking the password;
  // kOk when they are gone. Stamps handed out later still go up.
  FetchStatus Clear(const std::string& survey, const std::string& password);

 private:
  void Exec(const char* sql);
  int64_t Tick();  // the clock's next reading, remembered in the database
  std::optional<std::string> PasswordOf(const std::string& survey);

  sqlite3* db_ = nullptr;
  Clock clock_;
  std::mutex mutex_;
};

}  // namespace quorvant::collector
