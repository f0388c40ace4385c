// An attacker for collector_load: keeps trying to hold COUNT connections to
// the collector open from the given loopback addresses (in turn), each
// sending half a request header and then one more byte a second, and reopens
// every connection the collector closes, as someone out to lock respondents
// out would.
#pragma once

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace quorvant::bench {

class IdleConnections {
 public:
  IdleConnections(std::vector<std::string> from, int port, int count);
  ~IdleConnections();  // closes them all
  // Connections the collector has closed so far.
  long closed_by_server() const { return closed_.load(); }
  // Fewest and most connections that the collector had kept open for a
  // whole second, at the checks since ResetCounts().
  int fewest() const { return fewest_.load(); }
  int most() const { return most_.load(); }
  void ResetCounts();

 private:
  void Run();
  int Connect(const std::string& from) const;

  std::vector<std::string> from_;
  int port_;
  int count_;
  std::atomic<bool> stop_{false};
  std::atomic<int> kept_{0}, fewest_{0}, most_{0};
  std::atomic<long> closed_{0};
  std::thread thread_;
};

}  // namespace quorvant::bench
