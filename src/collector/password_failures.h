// Where the password throttle (password_throttle.h) keeps its count of wrong
// passwords per client: in the collector's own memory
// (memory_password_failures.h), or in the database that several collectors
// share (postgres_password_failures.h), so that a guesser gains nothing by
// spreading guesses over them.
//
// Keys are the throttle's client keys (an address, or the network of an IPv6
// address) as opaque bytes. A record lasts kPasswordWindowSeconds from its
// first wrong password.
//
// Thread-safety: every method may be called from any thread. Methods of a
// database-backed implementation throw StoreError (StoreUnavailable when the
// database cannot be reached).
#pragma once

#include <cstdint>
#include <string>

namespace quorvant::collector {

inline constexpr int kPasswordFailuresPerWindow = 5;
inline constexpr int64_t kPasswordWindowSeconds = 60;

class PasswordFailures {
 public:
  virtual ~PasswordFailures() = default;

  // True when key has kPasswordFailuresPerWindow wrong passwords in a window
  // that is not over yet.
  virtual bool Refused(const std::string& key) = 0;
  // Counts a wrong password for survey; returns the count of the key's
  // current window, this one included. A window that is over starts afresh.
  virtual int Failed(const std::string& key, const std::string& survey) = 0;
  // Forgets the key's record when every wrong password in it was for survey.
  virtual void Succeeded(const std::string& key, const std::string& survey) = 0;
};

}  // namespace quorvant::collector
