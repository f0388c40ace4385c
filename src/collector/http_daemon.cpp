#include "collector/http_daemon.h"

#include <fcntl.h>
#include <microhttpd.h>
#include <netdb.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace quorvant::collector {
namespace {

// What the daemon keeps of one request between the library's calls.
struct RequestState {
  HttpRequest request;
  bool header_seen = false;
  std::optional<HttpReply> refusal;  // given at the header, sent once the body is drained
  size_t drained = 0;
  bool dispatched = false;         // handed to a worker, the connection parked meanwhile
  std::optional<HttpReply> reply;  // the worker's, sent when the connection goes on
};

std::string NumericAddress(const sockaddr* address) {
  if (address == nullptr) return {};
  char host[NI_MAXHOST] = "";
  const socklen_t size =
      address->sa_family == AF_INET6 ? sizeof(sockaddr_in6) : sizeof(sockaddr_in);
  if (::getnameinfo(address, size, host, sizeof host, nullptr, 0, NI_NUMERICHOST) != 0) return {};
  return host;
}

// Room for the connections within the process's file limit, which the
// listening socket, the database and the library's own descriptors share.
unsigned ConnectionLimit() {
  rlimit files{};
  if (::getrlimit(RLIMIT_NOFILE, &files) != 0 || files.rlim_cur == RLIM_INFINITY) {
    return HttpDaemon::kMaxConnections;
  }
  const rlim_t room = files.rlim_cur > 80 ? files.rlim_cur - 64 : 16;
  return static_cast<unsigned>(std::min<rlim_t>(room, HttpDaemon::kMaxConnections));
}

}  // namespace

// The library's C callbacks; cls is the daemon.
struct HttpDaemon::Callbacks {
  static MHD_Result Send(HttpDaemon& self, MHD_Connection* connection, const HttpReply& reply) {
    self.deadlines_.Replying(connection);
    MHD_Response* response = MHD_create_response_from_buffer(
        reply.body.size(), const_cast<char*>(reply.body.data()), MHD_RESPMEM_MUST_COPY);
    if (response == nullptr) return MHD_NO;
    if (!reply.content_type.empty()) {
      MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_TYPE, reply.content_type.c_str());
    }
    if (!reply.location.empty()) {
      MHD_add_response_header(response, MHD_HTTP_HEADER_LOCATION, reply.location.c_str());
    }
    const MHD_Result queued =
        MHD_queue_response(connection, static_cast<unsigned>(reply.status), response);
    MHD_destroy_response(response);
    return queued;
  }

  static void* StartRequest(void*, const char* uri, MHD_Connection*) {
    auto state = std::make_unique<RequestState>();
    const char* mark = std::strchr(uri, '?');
    if (mark != nullptr) state->request.query = mark + 1;
    return state.release();
  }

  static MHD_Result AddHeader(void* cls, MHD_ValueKind, const char* key, const char* value) {
    static_cast<HttpRequest*>(cls)->headers.emplace_back(key, value != nullptr ? value : "");
    return MHD_YES;
  }

  static MHD_Result Access(void* cls, MHD_Connection* connection, const char* url,
                           const char* method, const char*, const char* upload, size_t* upload_size,
                           void** request_cls) try {
    auto& self = *static_cast<HttpDaemon*>(cls);
    if (*request_cls == nullptr) *request_cls = StartRequest(nullptr, url, connection);
    auto& state = *static_cast<RequestState*>(*request_cls);
    HttpRequest& request = state.request;
    if (!state.header_seen) {
      state.header_seen = true;
      self.deadlines_.HeaderReceived(connection);
      request.method = method;
      request.path = url;
      MHD_get_connection_values(connection, MHD_HEADER_KIND, &AddHeader, &request);
      const MHD_ConnectionInfo* info =
          MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
      request.remote_addr = NumericAddress(info != nullptr ? info->client_addr : nullptr);
      state.refusal = self.handlers_.on_header(request);
      // A refused body of modest size is read and dropped, so that the client,
      // which may still be sending, gets the reply rather than a reset
      // connection. A larger one gets the reply now and the connection ends.
      const auto length = std::strtoull(request.Header("Content-Length").c_str(), nullptr, 10);
      if (state.refusal && length > kMaxDrained) return Send(self, connection, *state.refusal);
      return MHD_YES;
    }
    if (*upload_size > 0 && state.refusal) {
      state.drained += *upload_size;
      *upload_size = 0;
      return state.drained > kMaxDrained ? MHD_NO : MHD_YES;
    }
    if (*upload_size > 0) {
      // A body that outgrows the limit without announcing its length: no
      // reply is owed to it, the connection just ends.
      if (request.body.size() + *upload_size > kMaxBody) return MHD_NO;
      request.body.append(upload, *upload_size);
      *upload_size = 0;
      return MHD_YES;
    }
    if (state.refusal) return Send(self, connection, *state.refusal);
    if (state.reply) return Send(self, connection, *state.reply);
    if (!state.dispatched) {
      state.dispatched = true;
      MHD_suspend_connection(connection);
      auto handle = [&self, &state, connection] {
        state.reply = self.handlers_.on_request(state.request);
        MHD_resume_connection(connection);
      };
      // While the daemon stops, handlers run here, so no connection stays parked.
      if (!self.workers_.Post(handle)) handle();
    }
    return MHD_YES;
  } catch (...) {
    return MHD_NO;
  }

  static void EndRequest(void* cls, MHD_Connection* connection, void** request_cls,
                         MHD_RequestTerminationCode) {
    delete static_cast<RequestState*>(*request_cls);
    *request_cls = nullptr;
    static_cast<HttpDaemon*>(cls)->deadlines_.ReplySent(connection);
  }

  static void Connection(void* cls, MHD_Connection* connection, void**,
                         MHD_ConnectionNotificationCode code) {
    auto& deadlines = static_cast<HttpDaemon*>(cls)->deadlines_;
    if (code == MHD_CONNECTION_NOTIFY_CLOSED) {
      deadlines.Forget(connection);
      return;
    }
    const MHD_ConnectionInfo* info =
        MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CONNECTION_FD);
    if (info != nullptr) deadlines.Opened(connection, info->connect_fd);
  }
};

HttpDaemon::HttpDaemon(Handlers handlers, bool per_address_limit)
    : handlers_(std::move(handlers)), per_address_limit_(per_address_limit) {}

HttpDaemon::~HttpDaemon() {
  if (listen_fd_ >= 0) ::close(listen_fd_);
}

bool HttpDaemon::Bind(const std::string& host, int port) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_PASSIVE;
  addrinfo* found = nullptr;
  const std::string service = std::to_string(port);
  if (::getaddrinfo(host.empty() ? nullptr : host.c_str(), service.c_str(), &hints, &found) != 0) {
    return false;
  }
  for (addrinfo* a = found; a != nullptr && listen_fd_ < 0; a = a->ai_next) {
    const int fd = ::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, a->ai_protocol);
    if (fd < 0) continue;
    const int yes = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    if (::bind(fd, a->ai_addr, a->ai_addrlen) == 0 && ::listen(fd, SOMAXCONN) == 0 &&
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK) == 0) {
      listen_fd_ = fd;
    } else {
      ::close(fd);
    }
  }
  ::freeaddrinfo(found);
  if (listen_fd_ < 0) return false;
  sockaddr_storage bound{};
  socklen_t size = sizeof bound;
  ::getsockname(listen_fd_, reinterpret_cast<sockaddr*>(&bound), &size);
  port_ = ntohs(bound.ss_family == AF_INET6 ? reinterpret_cast<sockaddr_in6&>(bound).sin6_port
                                            : reinterpret_cast<sockaddr_in&>(bound).sin_port);
  return true;
}

bool HttpDaemon::Run() {
  std::unique_lock lock(mutex_);
  if (stopped_) return true;
  if (listen_fd_ < 0) return false;
  MHD_Daemon* daemon = MHD_start_daemon(
      MHD_USE_EPOLL_INTERNAL_THREAD | MHD_USE_ITC | MHD_ALLOW_SUSPEND_RESUME, 0, nullptr, nullptr,
      &Callbacks::Access, this, MHD_OPTION_LISTEN_SOCKET, static_cast<MHD_socket>(listen_fd_),
      MHD_OPTION_THREAD_POOL_SIZE, kThreads, MHD_OPTION_CONNECTION_LIMIT, ConnectionLimit(),
      MHD_OPTION_PER_IP_CONNECTION_LIMIT, per_address_limit_ ? kConnectionsPerAddress : 0u,
      MHD_OPTION_CONNECTION_TIMEOUT, kIdleSeconds, MHD_OPTION_CONNECTION_MEMORY_LIMIT,
      static_cast<size_t>(32 * 1024), MHD_OPTION_URI_LOG_CALLBACK, &Callbacks::StartRequest, this,
      MHD_OPTION_NOTIFY_COMPLETED, &Callbacks::EndRequest, this, MHD_OPTION_NOTIFY_CONNECTION,
      &Callbacks::Connection, this, MHD_OPTION_END);
  if (daemon == nullptr) return false;
  listen_fd_ = -1;  // the library closes it when it stops
  stopped_changed_.wait(lock, [this] { return stopped_; });
  lock.unlock();
  workers_.Stop();  // every parked connection has its reply
  MHD_stop_daemon(daemon);
  return true;
}

void HttpDaemon::Stop() {
  {
    std::lock_guard lock(mutex_);
    stopped_ = true;
  }
  stopped_changed_.notify_all();
}

}  // namespace quorvant::collector
