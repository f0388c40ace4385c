// The collector's HTTP layer on libmicrohttpd: a few event-driven threads
// (epoll) serve every connection, so idle or trickling clients cost a socket
// and some memory, never a thread. Bounds what one client can hold: at most
// kConnectionsPerAddress connections from one address (unless a trusted
// proxy connects for everyone), kMaxConnections in all, the header and body
// deadlines of connection_deadlines.h, and kMaxBody bytes of body.
//
// The owner gives two handlers. OnHeader sees a request whose header has
// arrived but not its body; a reply it returns refuses the body, which is
// read and dropped up to kMaxDrained bytes, or else not read at all. Otherwise OnRequest gets the
// request with its whole body. OnHeader runs on the event threads, OnRequest on worker threads
// (request_workers.h), so that a handler that waits holds up no other connection; both run
// several at a time and must not throw.
//
// Thread-safety: Stop() may be called from any thread, also before Run().
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

#include "collector/connection_deadlines.h"
#include "collector/http_exchange.h"
#include "collector/request_workers.h"

namespace quorvant::collector {

class HttpDaemon {
 public:
  static constexpr size_t kMaxBody = 1 << 20;
  static constexpr size_t kMaxDrained = 4 * kMaxBody;  // see OnHeader
  static constexpr unsigned kConnectionsPerAddress = 32;
  static constexpr unsigned kMaxConnections = 10000;
  static constexpr unsigned kThreads = 4;         // event threads
  static constexpr unsigned kWorkerThreads = 32;  // handlers running at once (request_workers.h)
  static constexpr unsigned kIdleSeconds = 30;    // also while a reply is sent

  struct Handlers {
    std::function<std::optional<HttpReply>(const HttpRequest&)> on_header;
    std::function<HttpReply(const HttpRequest&)> on_request;
  };

  // per_address_limit false: a reverse proxy connects for every client, so
  // connections per address are not bounded.
  HttpDaemon(Handlers handlers, bool per_address_limit);
  ~HttpDaemon();
  HttpDaemon(const HttpDaemon&) = delete;
  HttpDaemon& operator=(const HttpDaemon&) = delete;

  // Opens the listening socket on host:port (port 0: any free port). False
  // when the address cannot be resolved or bound.
  bool Bind(const std::string& host, int port);
  int port() const { return port_; }
  // Serves until Stop(). False when serving could not start.
  bool Run();
  void Stop();

 private:
  struct Callbacks;

  Handlers handlers_;
  bool per_address_limit_;
  int listen_fd_ = -1;
  int port_ = 0;
  ConnectionDeadlines deadlines_;
  RequestWorkers workers_{kWorkerThreads};
  std::mutex mutex_;
  std::condition_variable stopped_changed_;
  bool stopped_ = false;
};

}  // namespace quorvant::collector
