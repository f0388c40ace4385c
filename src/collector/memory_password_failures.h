// The password throttle's records in this process's memory: the choice of a
// collector that has its database to itself.
//
// Thread-safety: every method may be called from any thread.
#pragma once

#include <functional>
#include <mutex>
#include <unordered_map>

#include "collector/password_failures.h"

namespace quorvant::collector {

class MemoryPasswordFailures : public PasswordFailures {
 public:
  // Bounds the memory an attacker with many addresses can make it use.
  static constexpr size_t kMaxAddresses = 100000;

  // now gives seconds on a clock that does not jump (a steady clock when empty).
  explicit MemoryPasswordFailures(std::function<int64_t()> now = {});

  bool Refused(const std::string& key) override;
  int Failed(const std::string& key, const std::string& survey) override;
  void Succeeded(const std::string& key, const std::string& survey) override;

 private:
  struct Record {
    int64_t window_start = 0;
    int failures = 0;
    std::string survey;            // the survey of the wrong passwords
    bool several_surveys = false;  // they were for more than one
  };
  void ForgetExpired(int64_t now);

  std::function<int64_t()> now_;
  std::mutex mutex_;
  std::unordered_map<std::string, Record> records_;
};

}  // namespace quorvant::collector
