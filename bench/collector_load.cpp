// collector_load: quorvant-collector under load on loopback. CLIENTS
// threads post survey submissions over kept-alive connections for SECONDS,
// counting the ones the collector acknowledged; then, once their second has
// passed, one GetResults request fetches everything. Prints submissions per
// second (target: at least 2,000) and how many acknowledged submissions the
// reply returned (target: all of them, each exactly once).
//
// Usage: collector_load [CLIENTS [SECONDS]] (defaults 8 and 5). The collector
// runs in this process on a free loopback port with a database in a fresh
// folder under $TMPDIR, removed at the end.
#include <httplib.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "collector/collector_server.h"
#include "core/responses/result_reply.h"
#include "core/shell/text_helpers.h"

namespace {

using namespace quorvant;
using Clock = std::chrono::steady_clock;

constexpr char kSurvey[] = "LOAD";
constexpr char kPassword[] = "pw";
// Bounds every client even when the clock misbehaves.
constexpr int kMaxPerClient = 2000000;

// Posts until the deadline; returns the e-mail addresses acknowledged.
std::vector<std::string> PostUntil(int port, int client, Clock::time_point deadline) {
  httplib::Client http("127.0.0.1", port);
  http.set_keep_alive(true);
  http.set_tcp_nodelay(true);  // as browsers do: no wait for the ACK of the headers
  std::vector<std::string> acknowledged;
  for (int i = 0; i < kMaxPerClient && Clock::now() < deadline; ++i) {
    const std::string email = "c" + std::to_string(client) + "n" + std::to_string(i) + "@x.org";
    const std::string body = std::string("QVXSURVEYFILE=") + kSurvey + "&QVXEMAILADDRESS=" + email +
                             "&qvx1=2&qvx2-0=1&qvx3=A+short+text+answer%0D%0Awith+two+lines";
    const auto res = http.Post("/qvx", body, "application/x-www-form-urlencoded");
    if (res && res->status == 200) acknowledged.push_back(email);
  }
  return acknowledged;
}

}  // namespace

int main(int argc, char** argv) {
  const int clients = argc > 1 ? std::atoi(argv[1]) : 8;
  const int seconds = argc > 2 ? std::atoi(argv[2]) : 5;
  if (clients <= 0 || clients > 256 || seconds <= 0 || seconds > 600) {
    std::fprintf(stderr, "usage: collector_load [CLIENTS (1-256) [SECONDS (1-600)]]\n");
    return 2;
  }
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("collector_load." + std::to_string(::getpid()));
  fs::create_directories(dir);
  int status = 0;
  {
    collector::SubmissionStore store((dir / "c.db").string());
    store.Register(kSurvey, "NA", kPassword);
    collector::CollectorOptions options;
    options.port = 0;
    collector::CollectorServer server(options, store);
    if (!server.Bind()) {
      std::fprintf(stderr, "cannot bind a loopback port\n");
      return 1;
    }
    std::thread serving([&] { server.Listen(); });

    const auto start = Clock::now();
    const auto deadline = start + std::chrono::seconds(seconds);
    std::vector<std::vector<std::string>> acknowledged(static_cast<size_t>(clients));
    std::vector<std::thread> threads;
    for (int c = 0; c < clients; ++c) {
      threads.emplace_back(
          [&, c] { acknowledged[static_cast<size_t>(c)] = PostUntil(server.port(), c, deadline); });
    }
    for (std::thread& t : threads) t.join();
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();

    std::set<std::string> sent;
    for (const auto& list : acknowledged) sent.insert(list.begin(), list.end());
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));  // the last second passes
    httplib::Client http("127.0.0.1", server.port());
    http.set_read_timeout(120, 0);
    const auto res = http.Get(std::string("/qvx/GetResults?SurveyFile=") + kSurvey +
                              "&ID=" + kPassword + "&LastUpdate=Never");
    size_t returned = 0, unknown = 0, repeated = 0;
    if (res && res->status == 200) {
      SubmissionItems items;
      const int email = items.Slot("QVXEMAILADDRESS");
      std::set<std::string> seen;
      const std::vector<std::string> lines = SplitLines(res->body);
      for (size_t i = 1; i < lines.size() && !IsEndOfData(lines[i]); ++i) {
        items.Parse(lines[i]);
        ++returned;
        if (!sent.count(items.Value(email))) ++unknown;
        if (!seen.insert(items.Value(email)).second) ++repeated;
      }
    }
    server.Stop();
    serving.join();

    const double rate = static_cast<double>(sent.size()) / elapsed;
    std::printf("clients: %d, time: %.2f s\n", clients, elapsed);
    std::printf("acknowledged: %zu submissions, %.0f per second (target >= 2000)\n", sent.size(),
                rate);
    std::printf("returned by GetResults: %zu of %zu acknowledged (%zu unknown, %zu repeated)\n",
                returned - unknown, sent.size(), unknown, repeated);
    if (returned - unknown != sent.size() || repeated != 0) status = 1;
  }
  fs::remove_all(dir);
  return status;
}
