#include "core/shell/system_helpers.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "core/shell/atomic_file.h"
#include "core/shell/date_time.h"
#include "core/shell/version.h"

namespace quorvant {

std::string MakeTempFileName(std::string_view ext, Env& env) {
  std::string dir;
  if (const char* tmp = std::getenv("TMPDIR"); tmp != nullptr && DirectoryExists(tmp)) {
    dir = tmp;
  } else if (DirectoryExists("/tmp")) {
    dir = "/tmp";
  } else {
    return "eraseme." + std::string(ext);
  }
  if (dir.back() != '/') dir += '/';
  const auto p = DecodeDateTime(env.Now()).value_or(DateTimeParts{});
  return dir + "qv" + std::to_string(p.hour) + std::to_string(p.minute) + std::to_string(p.second) +
         "." + std::string(ext);
}

std::string CreateTempFile(std::string_view ext) {
  const std::string first = MakeTempFileName(ext);
  const std::string base = first.substr(0, first.size() - ext.size() - 1);
  for (int n = 1; n <= 1000; ++n) {
    const std::string name =
        n == 1 ? first : base + "-" + std::to_string(n) + "." + std::string(ext);
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd >= 0) {
      ::close(fd);
      return name;
    }
    if (errno != EEXIST) return {};
  }
  return {};
}

void RunDetached(const std::vector<std::string>& argv) {
  if (argv.empty()) return;
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  // Double fork so that the program never becomes a zombie of ours.
  const pid_t child = ::fork();
  if (child == 0) {
    if (::fork() == 0) {
      ::execvp(args[0], args.data());
      ::_exit(127);
    }
    ::_exit(0);
  }
  if (child > 0) ::waitpid(child, nullptr, 0);
}

void ShellOpen(const std::string& target) { RunDetached({"xdg-open", target}); }

void Delay(int ms, const std::function<void()>& process_events) {
  using Clock = std::chrono::steady_clock;
  const auto end = Clock::now() + std::chrono::milliseconds(ms);
  if (!process_events) {
    std::this_thread::sleep_until(end);
    return;
  }
  while (Clock::now() < end) {
    process_events();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

std::string FileVersionText() {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%d.%d  (Build %d)", kVersionMajor, kVersionMinor, kBuildNumber);
  return buf;
}

}  // namespace quorvant
