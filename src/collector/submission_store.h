// The collector's database as the HTTP layer sees it: registered surveys and
// their submissions. Implementations keep them in one place (sqlite_submission_store.h);
// whichever it is, the rules below hold.
//
// Every submission gets a stamp from a clock that never goes back (see
// stamp_clock.h); Fetch() hands out only submissions whose second has fully
// passed, so that successive fetches with the last stamp received never skip
// or repeat a submission. Passwords are kept only as salted slow hashes
// (password_hash.h).
//
// Every method throws StoreError when the database fails, StoreUnavailable
// while a database server cannot be reached.
//
// Thread-safety: all methods may be called from any thread.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "collector/form_decoding.h"
#include "collector/password_failures.h"

namespace quorvant::collector {

// Raised when the database cannot be opened or written; what() says why.
class StoreError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Raised when a database server cannot be reached for now; the request may
// succeed later, on this collector or another.
class StoreUnavailable : public StoreError {
 public:
  using StoreError::StoreError;
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

  SubmissionStore() = default;
  virtual ~SubmissionStore() = default;
  SubmissionStore(const SubmissionStore&) = delete;
  SubmissionStore& operator=(const SubmissionStore&) = delete;

  // Registers a survey under its password. Registering again with the same
  // password renews it (the account may change); another password is
  // refused, so nobody takes over someone else's survey.
  virtual Registration Register(const std::string& survey, const std::string& account,
                                const std::string& password) = 0;

  virtual bool IsRegistered(const std::string& survey) = 0;

  // Stores one submission of a registered survey and returns its stamp;
  // nothing when the survey is not registered. Throws StoreError.
  virtual std::optional<std::string> Submit(const std::string& survey, const std::string& remote,
                                            const std::string& agent, const FormFields& fields) = 0;

  // The submissions with a stamp above after (empty: all) whose second has
  // passed, after checking the password.
  virtual FetchResult Fetch(const std::string& survey, const std::string& password,
                            const std::string& after) = 0;

  // Deletes every submission of the survey after checking the password;
  // kOk when they are gone. Stamps handed out later still go up.
  virtual FetchStatus Clear(const std::string& survey, const std::string& password) = 0;

  // Throws StoreUnavailable when the database cannot be reached now, so that
  // the server's own check page (and a balancer's health check behind it)
  // does not claim to accept submissions that could not be stored.
  virtual void CheckReachable() {}

  // Where the password throttle counts wrong passwords when several
  // collectors share this store; nullptr when the store is one collector's
  // own, and the collector counts in its memory.
  virtual std::unique_ptr<PasswordFailures> SharedPasswordFailures() { return nullptr; }
};

}  // namespace quorvant::collector
