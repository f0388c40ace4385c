// Deadlines for the connections of the HTTP layer. A client must send each
// request's header within kHeaderSeconds of connecting (or of the previous
// reply) and its body within kBodySeconds of the header; one that trickles a
// byte now and then, which resets any idle timeout, is cut off all the same.
// A watcher thread shuts the socket of a late connection down, so the HTTP
// library sees it end and frees the connection in its own thread.
//
// Thread-safety: every method may be called from any thread. Entries are
// removed (Forget) before the HTTP library closes the socket, which is what
// makes shutting a registered socket down safe.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <unordered_map>

namespace quorvant::collector {

class ConnectionDeadlines {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr std::chrono::seconds kHeaderSeconds{10};
  static constexpr std::chrono::seconds kBodySeconds{60};

  ConnectionDeadlines();
  ~ConnectionDeadlines();  // stops the watcher
  ConnectionDeadlines(const ConnectionDeadlines&) = delete;
  ConnectionDeadlines& operator=(const ConnectionDeadlines&) = delete;

  // A new connection on socket fd, key identifying it: its header is due.
  void Opened(const void* key, int fd);
  // The header has arrived: the body is due.
  void HeaderReceived(const void* key);
  // The reply is being sent: no deadline but the library's idle timeout.
  void Replying(const void* key);
  // The reply went out: the next request's header is due.
  void ReplySent(const void* key);
  // The connection is about to close.
  void Forget(const void* key);

 private:
  struct Entry {
    int fd = -1;
    Clock::time_point due = Clock::time_point::max();
  };
  void Set(const void* key, Clock::time_point due);
  void Watch();

  std::mutex mutex_;
  std::condition_variable wake_;
  bool stopping_ = false;
  std::unordered_map<const void*, Entry> entries_;
  std::thread watcher_;
};

}  // namespace quorvant::collector
