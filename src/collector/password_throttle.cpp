#include "collector/password_throttle.h"

#include <arpa/inet.h>

#include <cstdio>
#include <cstring>

#include "collector/memory_password_failures.h"

namespace quorvant::collector {

PasswordThrottle::PasswordThrottle(std::function<int64_t()> now, Log log)
    : PasswordThrottle(std::make_unique<MemoryPasswordFailures>(std::move(now)), std::move(log)) {}

PasswordThrottle::PasswordThrottle(std::unique_ptr<PasswordFailures> failures, Log log)
    : failures_(std::move(failures)), log_(std::move(log)) {
  if (!failures_) failures_ = std::make_unique<MemoryPasswordFailures>();
  if (!log_) {
    log_ = [](const std::string& line) {
      std::fprintf(stderr, "quorvant-collector: %s\n", line.c_str());
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
  return failures_->Refused(KeyOf(address));
}

void PasswordThrottle::Failed(const std::string& address, const std::string& survey) {
  const bool shut_out = failures_->Failed(KeyOf(address), survey) == kFailuresPerWindow;
  log_("wrong password for survey " + survey + " from " + address);
  if (shut_out) {
    log_("password checks from " + address + " refused for " + std::to_string(kWindowSeconds) +
         " seconds after " + std::to_string(kFailuresPerWindow) + " wrong passwords");
  }
}

void PasswordThrottle::Succeeded(const std::string& address, const std::string& survey) {
  failures_->Succeeded(KeyOf(address), survey);
}

}  // namespace quorvant::collector
