// A program the tests start and end themselves (a server, a balancer),
// with its output appended to a log file.
//
// Thread-safety: one thread at a time.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace quorvant::testing {

class ChildProcess {
 public:
  // Starts args[0] (looked up in PATH) with the rest as its arguments,
  // standard input from /dev/null. Throws std::runtime_error when it cannot
  // fork.
  ChildProcess(std::vector<std::string> args, const std::string& log);
  // Ends it with SIGTERM unless it ended already, and reaps it.
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  pid_t pid() const { return pid_; }
  // Sends the signal and waits for the end; the exit status (128 + signal
  // when killed by one).
  int Kill(int signal);
  // Waits for the end; the exit status as Kill() gives it.
  int Wait();

 private:
  pid_t pid_ = -1;
  int status_ = -1;
};

// Runs a program to its end; its exit status as ChildProcess::Wait() gives it.
int RunToEnd(std::vector<std::string> args, const std::string& log);

}  // namespace quorvant::testing
