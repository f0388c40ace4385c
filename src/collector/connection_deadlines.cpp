#include "collector/connection_deadlines.h"

#include <sys/socket.h>

namespace quorvant::collector {

ConnectionDeadlines::ConnectionDeadlines() : watcher_([this] { Watch(); }) {}

ConnectionDeadlines::~ConnectionDeadlines() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  watcher_.join();
}

void ConnectionDeadlines::Opened(const void* key, int fd) {
  std::lock_guard lock(mutex_);
  entries_[key] = Entry{fd, Clock::now() + kHeaderSeconds};
}

void ConnectionDeadlines::HeaderReceived(const void* key) { Set(key, Clock::now() + kBodySeconds); }

void ConnectionDeadlines::Replying(const void* key) { Set(key, Clock::time_point::max()); }

void ConnectionDeadlines::ReplySent(const void* key) { Set(key, Clock::now() + kHeaderSeconds); }

void ConnectionDeadlines::Forget(const void* key) {
  std::lock_guard lock(mutex_);
  entries_.erase(key);
}

void ConnectionDeadlines::Set(const void* key, Clock::time_point due) {
  std::lock_guard lock(mutex_);
  const auto it = entries_.find(key);
  if (it != entries_.end()) it->second.due = due;
}

void ConnectionDeadlines::Watch() {
  std::unique_lock lock(mutex_);
  while (!stopping_) {
    wake_.wait_for(lock, std::chrono::milliseconds(500));
    const Clock::time_point now = Clock::now();
    for (auto& [key, entry] : entries_) {
      if (entry.due > now) continue;
      // The socket stays open until Forget(), so fd is still this connection's.
      ::shutdown(entry.fd, SHUT_RDWR);
      entry.due = Clock::time_point::max();
    }
  }
}

}  // namespace quorvant::collector
