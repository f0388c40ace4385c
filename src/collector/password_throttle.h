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
// Thread-safety: every method may be called from any thread.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <unordered_map>

namespace quorvant::collector {

class PasswordThrottle {
 public:
  static constexpr int kFailuresPerWindow = 5;
  static constexpr int64_t kWindowSeconds = 60;
  // Bounds the memory an attacker with many addresses can make it use.
  static constexpr size_t kMaxAddresses = 100000;

  using Log = std::function<void(const std::string& line)>;
  // now gives seconds on a clock that does not jump (a steady clock when
  // empty); log takes each line of the log (standard error when empty).
  explicit PasswordThrottle(std::function<int64_t()> now = {}, Log log = {});

  // True when the address has used up its wrong passwords for now.
  bool Refused(const std::string& address);
  // Counts and logs a wrong password for the survey from the address.
  void Failed(const std::string& address, const std::string& survey);
  // A right password for the survey clears the address's record when every
  // wrong password in it was for that survey.
  void Succeeded(const std::string& address, const std::string& survey);

 private:
  struct Record {
    int64_t window_start = 0;
    int failures = 0;
    std::string survey;          // the survey of the wrong passwords
    bool several_surveys = false;  // they were for more than one
  };
  static std::string KeyOf(const std::string& address);
  void ForgetExpired(int64_t now);

  std::function<int64_t()> now_;
  Log log_;
  std::mutex mutex_;
  std::unordered_map<std::string, Record> records_;
};

}  // namespace quorvant::collector
