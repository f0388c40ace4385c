// An attacker for collector_load: keeps trying to hold COUNT connections to
// the collector open from one loopback address, each sending half a request
// header and then one more byte a second, and reopens every connection the
// collector closes, as someone out to lock respondents out would.
#pragma once

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace quorvant::bench {

class IdleConnections {
 public:
  IdleConnections(std::string from, int port, int count);
  ~IdleConnections();  // closes them all
  // Connections open right now, as the attacker sees them.
  int open() const { return open_.load(); }
  // Connections the collector has closed so far.
  long closed_by_server() const { return closed_.load(); }
  // Fewest connections held at once since the last Reset(), and the most.
  int fewest() const { return fewest_.load(); }
  int most() const { return most_.load(); }
  void ResetCounts();

 private:
  void Run();
  int Connect() const;

  std::string from_;
  int port_;
  int count_;
  std::atomic<bool> stop_{false};
  std::atomic<int> open_{0}, fewest_{0}, most_{0};
  std::atomic<long> closed_{0};
  std::thread thread_;
};

}  // namespace quorvant::bench
