#include "support/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

namespace quorvant::testing {

ChildProcess::ChildProcess(std::vector<std::string> args, const std::string& log) {
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_ = ::fork();
  if (pid_ < 0) throw std::runtime_error("cannot fork");
  if (pid_ == 0) {
    const int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    const int in = ::open("/dev/null", O_RDONLY);
    ::dup2(in, 0);
    ::dup2(out, 1);
    ::dup2(out, 2);
    ::execvp(argv[0], argv.data());
    ::_exit(127);
  }
}

ChildProcess::~ChildProcess() {
  if (status_ < 0) Kill(SIGTERM);
}

int ChildProcess::Kill(int signal) {
  if (status_ >= 0) return status_;
  ::kill(pid_, signal);
  return Wait();
}

int ChildProcess::Wait() {
  if (status_ >= 0) return status_;
  int status = 0;
  while (::waitpid(pid_, &status, 0) < 0) {
  }
  status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return status_;
}

int RunToEnd(std::vector<std::string> args, const std::string& log) {
  return ChildProcess(std::move(args), log).Wait();
}

}  // namespace quorvant::testing
