#include "idle_connections.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

namespace quorvant::bench {
namespace {

constexpr char kHalfHeader[] = "POST /qvx HTTP/1.1\r\nHost: collector\r\nX-Wait: ";

// True while the peer has not closed the connection.
bool StillOpen(int fd) {
  char byte;
  const ssize_t got = ::recv(fd, &byte, 1, MSG_DONTWAIT | MSG_PEEK);
  if (got == 0) return false;
  if (got < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return false;
  return ::send(fd, "x", 1, MSG_DONTWAIT | MSG_NOSIGNAL) == 1 || errno == EAGAIN;
}

}  // namespace

IdleConnections::IdleConnections(std::vector<std::string> from, int port, int count)
    : from_(std::move(from)), port_(port), count_(count), thread_([this] { Run(); }) {}

IdleConnections::~IdleConnections() {
  stop_ = true;
  thread_.join();
}

void IdleConnections::ResetCounts() {
  fewest_ = kept_.load();
  most_ = kept_.load();
}

int IdleConnections::Connect(const std::string& from) const {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  sockaddr_in local{};
  local.sin_family = AF_INET;
  ::inet_pton(AF_INET, from.c_str(), &local.sin_addr);
  sockaddr_in server{};
  server.sin_family = AF_INET;
  server.sin_port = htons(static_cast<uint16_t>(port_));
  ::inet_pton(AF_INET, "127.0.0.1", &server.sin_addr);
  if (::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 ||
      ::connect(fd, reinterpret_cast<sockaddr*>(&server), sizeof server) != 0 ||
      ::send(fd, kHalfHeader, sizeof kHalfHeader - 1, MSG_NOSIGNAL) < 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

void IdleConnections::Run() {
  std::vector<int> fds;
  size_t next_from = 0;
  while (!stop_) {
    const auto tick = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    // One byte on every connection; the ones the collector closed are
    // opened again.
    std::erase_if(fds, [this](int fd) {
      if (StillOpen(fd)) return false;
      ::close(fd);
      ++closed_;
      return true;
    });
    const int kept = static_cast<int>(fds.size());
    kept_ = kept;
    fewest_ = std::min(fewest_.load(), kept);
    most_ = std::max(most_.load(), kept);
    while (static_cast<int>(fds.size()) < count_ && !stop_) {
      const int fd = Connect(from_[next_from++ % from_.size()]);
      if (fd < 0) break;
      fds.push_back(fd);
    }
    while (!stop_ && std::chrono::steady_clock::now() < tick) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  }
  for (int fd : fds) ::close(fd);
}

}  // namespace quorvant::bench
