// quorvant-collector: the collection server a survey author runs on their
// own web host.
#include <signal.h>
#include <sys/resource.h>

#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "collector/collector_options.h"
#include "collector/collector_server.h"
#include "collector/connection_string.h"
#include "collector/open_store.h"
#include "collector/store_copy.h"
#include "core/shell/system_helpers.h"

int main(int argc, char** argv) {
  using namespace quorvant::collector;
  std::string error;
  const auto options =
      ParseCollectorOptions(std::vector<std::string>(argv + 1, argv + argc), error);
  if (!options) {
    std::fprintf(stderr, "quorvant-collector: %s\n%s", error.c_str(), kCollectorUsage);
    return 2;
  }
  if (options->help) {
    std::fputs(kCollectorUsage, stdout);
    return 0;
  }
  if (options->version) {
    std::printf("quorvant-collector %s\n", quorvant::FileVersionText().c_str());
    return 0;
  }

  // SIGINT and SIGTERM end the server cleanly; a thread waits for them so the
  // server is stopped outside any signal handler.
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  signal(SIGPIPE, SIG_IGN);
  // Each connection needs a descriptor; take all the system allows, so that
  // thousands of idle ones from attackers leave room for respondents.
  rlimit files{};
  if (getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur < files.rlim_max) {
    files.rlim_cur = files.rlim_max;
    setrlimit(RLIMIT_NOFILE, &files);
  }

  try {
    if (!options->copy_from.empty()) {
      PostgresSubmissionStore target(options->database);
      std::printf("quorvant-collector: %s from %s\n",
                  CopyCountsText(CopySqliteStore(options->copy_from, target)).c_str(),
                  options->copy_from.c_str());
      return 0;
    }
    const std::unique_ptr<SubmissionStore> store = OpenStore(options->database);
    CollectorServer server(*options, *store);
    if (!server.Bind()) {
      std::fprintf(stderr, "quorvant-collector: cannot listen on %s:%d\n", options->host.c_str(),
                   options->port);
      return 1;
    }
    std::thread waiter([&] {
      int received = 0;
      sigwait(&signals, &received);
      server.Stop();
    });
    std::printf("quorvant-collector: serving http://%s:%d%s (database %s)\n", options->host.c_str(),
                server.port(), options->base.c_str(), DatabaseForLog(options->database).c_str());
    std::fflush(stdout);
    const bool ok = server.Listen();
    pthread_kill(waiter.native_handle(), SIGTERM);
    waiter.join();
    return ok ? 0 : 1;
  } catch (const StoreError& e) {
    std::fprintf(stderr, "quorvant-collector: %s\n", e.what());
    return 1;
  }
}
