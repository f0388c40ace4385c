// The threads that run request handlers for the HTTP layer. A handler may
// wait (for the database, or for a slow password check) without holding up
// the other connections that the same event thread serves: the event thread
// parks the connection, a worker runs the handler, and the connection goes
// on with the reply.
//
// Thread-safety: Post() may be called from any thread; Stop() once, from the
// owner.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace quorvant::collector {

class RequestWorkers {
 public:
  explicit RequestWorkers(unsigned threads);
  ~RequestWorkers();  // Stop()
  RequestWorkers(const RequestWorkers&) = delete;
  RequestWorkers& operator=(const RequestWorkers&) = delete;

  // Queues the task; false once Stop() has begun (the caller runs it itself).
  bool Post(std::function<void()> task);
  // Runs what is queued, then ends the threads.
  void Stop();

 private:
  void Work();

  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::function<void()>> tasks_;
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace quorvant::collector
