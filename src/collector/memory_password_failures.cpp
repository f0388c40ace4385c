#include "collector/memory_password_failures.h"

#include <chrono>

namespace quorvant::collector {

MemoryPasswordFailures::MemoryPasswordFailures(std::function<int64_t()> now)
    : now_(std::move(now)) {
  if (!now_) {
    now_ = [] {
      return std::chrono::duration_cast<std::chrono::seconds>(
                 std::chrono::steady_clock::now().time_since_epoch())
          .count();
    };
  }
}

bool MemoryPasswordFailures::Refused(const std::string& key) {
  std::lock_guard lock(mutex_);
  const auto it = records_.find(key);
  if (it == records_.end()) return false;
  if (now_() - it->second.window_start >= kPasswordWindowSeconds) {
    records_.erase(it);
    return false;
  }
  return it->second.failures >= kPasswordFailuresPerWindow;
}

int MemoryPasswordFailures::Failed(const std::string& key, const std::string& survey) {
  std::lock_guard lock(mutex_);
  const int64_t now = now_();
  if (records_.size() >= kMaxAddresses) ForgetExpired(now);
  Record& record = records_[key];
  if (record.failures == 0 || now - record.window_start >= kPasswordWindowSeconds) {
    record = Record{now, 0, survey, false};
  }
  if (record.survey != survey) record.several_surveys = true;
  return ++record.failures;
}

void MemoryPasswordFailures::Succeeded(const std::string& key, const std::string& survey) {
  std::lock_guard lock(mutex_);
  const auto it = records_.find(key);
  if (it == records_.end()) return;
  if (!it->second.several_surveys && it->second.survey == survey) records_.erase(it);
}

void MemoryPasswordFailures::ForgetExpired(int64_t now) {
  std::erase_if(records_, [now](const auto& entry) {
    return now - entry.second.window_start >= kPasswordWindowSeconds;
  });
  // Still full: every address is failing right now. Start over rather than
  // grow without bound; the cost is a fresh allowance for each of them.
  if (records_.size() >= kMaxAddresses) records_.clear();
}

}  // namespace quorvant::collector
