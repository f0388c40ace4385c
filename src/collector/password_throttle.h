// Slows password guessing per client address. An address may get
// kFailuresPerWindow passwords wrong within kWindowSeconds; after that every
// request of it that would check a password is refused (the caller answers
// 429) until the window is over. Addresses that have not failed are never
// held up, however busy the others are. IPv6 addresses count per /64
// network, which is what one subscriber usually gets.
//
// Meant for every handler that checks a survey's password: call Refused()
// before checking, Failed() after a wrong password, Succeeded() after a right
// one. Every wrong password is logged with the address, and so is the moment
// an address is shut out.
//
// A right password forgives only wrong ones for the same survey: an author
// who mistyped is let in again, but a guesser cannot start afresh by showing
// the password of a survey of his own between guesses.
//
// The records themselves live behind PasswordFailures (password_failures.h):
// in memory, or in a database that several collectors share.
//
// Thread-safety: every method may be called from any thread.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "collector/password_failures.h"

namespace quorvant::collector {

class PasswordThrottle {
 public:
  static constexpr int kFailuresPerWindow = kPasswordFailuresPerWindow;
  static constexpr int64_t kWindowSeconds = kPasswordWindowSeconds;

  using Log = std::function<void(const std::string& line)>;
  // Records in memory. now gives seconds on a clock that does not jump (a
  // steady clock when empty); log takes each line of the log (standard error
  // when empty).
  explicit PasswordThrottle(std::function<int64_t()> now = {}, Log log = {});
  // Records kept by failures; in memory when it is null.
  PasswordThrottle(std::unique_ptr<PasswordFailures> failures, Log log);

  // True when the address has used up its wrong passwords for now. These
  // three throw what the records throw.
  bool Refused(const std::string& address);
  // Counts and logs a wrong password for the survey from the address.
  void Failed(const std::string& address, const std::string& survey);
  // A right password for the survey clears the address's record when every
  // wrong password in it was for that survey.
  void Succeeded(const std::string& address, const std::string& survey);

 private:
  static std::string KeyOf(const std::string& address);

  std::unique_ptr<PasswordFailures> failures_;
  Log log_;
};

}  // namespace quorvant::collector
