#include "collector/password_throttle.h"

#include <arpa/inet.h>

#include <chrono>
#include <cstdio>
#include <cstring>

namespace quorvant::collector {

PasswordThrottle::PasswordThrottle(std::function<int64_t()> now, Log log)
    : now_(std::move(now)), log_(std::move(log)) {
  if (!log_) {
    log_ = [](const std::string& line) {
      std::fprintf(stderr, "quorvant-collector: %s\n", line.c_str());
    };
  }
  if (!now_) {
    now_ = [] {
      return std::chrono::duration_cast<std::chrono::seconds>(
                 std::chrono::steady_clock::now().time_since_epoch())
          .count();
    };
  }
}

std::string PasswordThrottle::KeyOf(const std::string& address) {
  in6_addr v6{};
  if (address.find(':') == std::string::npos || ::inet_pton(AF_INET6, address.c_str(), &v6) != 1) {
    return address;
  }
  // An IPv4 address written as IPv6 stays whole; others keep their network.
  static const unsigned char kMapped[12] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xff, 0xff};
  const size_t kept = std::memcmp(v6.s6_addr, kMapped, sizeof kMapped) == 0 ? 16 : 8;
  return std::string(reinterpret_cast<const char*>(v6.s6_addr), kept);
}

bool PasswordThrottle::Refused(const std::string& address) {
  std::lock_guard lock(mutex_);
  const auto it = records_.find(KeyOf(address));
  if (it == records_.end()) return false;
  if (now_() - it->second.window_start >= kWindowSeconds) {
    records_.erase(it);
    return false;
  }
  return it->second.failures >= kFailuresPerWindow;
}

void PasswordThrottle::Failed(const std::string& address, const std::string& survey) {
  std::unique_lock lock(mutex_);
  const int64_t now = now_();
  if (records_.size() >= kMaxAddresses) ForgetExpired(now);
  Record& record = records_[KeyOf(address)];
  if (record.failures == 0 || now - record.window_start >= kWindowSeconds) {
    record = Record{now, 0, survey, false};
  }
  if (record.survey != survey) record.several_surveys = true;
  const bool shut_out = ++record.failures == kFailuresPerWindow;
  lock.unlock();
  log_("wrong password for survey " + survey + " from " + address);
  if (shut_out) {
    log_("password checks from " + address + " refused for " + std::to_string(kWindowSeconds) +
         " seconds after " + std::to_string(kFailuresPerWindow) + " wrong passwords");
  }
}

void PasswordThrottle::Succeeded(const std::string& address, const std::string& survey) {
  std::lock_guard lock(mutex_);
  const auto it = records_.find(KeyOf(address));
  if (it == records_.end()) return;
  if (!it->second.several_surveys && it->second.survey == survey) records_.erase(it);
}

void PasswordThrottle::ForgetExpired(int64_t now) {
  std::erase_if(records_, [now](const auto& entry) {
    return now - entry.second.window_start >= kWindowSeconds;
  });
  // Still full: every address is failing right now. Start over rather than
  // grow without bound; the cost is a fresh allowance for each of them.
  if (records_.size() >= kMaxAddresses) records_.clear();
}

}  // namespace quorvant::collector
