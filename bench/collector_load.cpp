// collector_load: quorvant-collector under load on loopback. CLIENTS
// threads post survey submissions over kept-alive connections for SECONDS,
// counting the ones the collector acknowledged; then, once their second has
// passed, one GetResults request fetches everything. Prints submissions per
// second (target: at least 2,000) and how many acknowledged submissions the
// reply returned (target: all of them, each exactly once).
//
// With --idle N the clients run twice: alone, then while an attacker on
// 127.0.0.2 keeps trying to hold N idle, trickling connections open. The
// clients come from 127.0.0.3 and on, one address each, as respondents do.
// Prints both rates and the second as a percentage of the first (target: at
// least 90 %).
//
// Usage: collector_load [--idle N] [CLIENTS [SECONDS]] (defaults 8 and 5).
// The collector runs in this process on a free loopback port with a database
// in a fresh folder under $TMPDIR, removed at the end.
#include <arpa/inet.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "collector/collector_server.h"
#include "collector/sqlite_submission_store.h"
#include "core/responses/result_reply.h"
#include "core/shell/text_helpers.h"
#include "idle_connections.h"

namespace {

using namespace quorvant;
using Clock = std::chrono::steady_clock;

constexpr char kSurvey[] = "LOAD";
constexpr char kPassword[] = "pw";
// Bounds every client even when the clock misbehaves.
constexpr int kMaxPerClient = 2000000;

// The loopback address of client number client: 127.0.0.3 and on.
std::string ClientAddress(int client) { return "127.0.0." + std::to_string(3 + client); }

// Posts until the deadline; returns the e-mail addresses acknowledged.
std::vector<std::string> PostUntil(int port, int client, const std::string& round,
                                   Clock::time_point deadline) {
  httplib::Client http("127.0.0.1", port);
  http.set_keep_alive(true);
  http.set_tcp_nodelay(true);  // as browsers do: no wait for the ACK of the headers
  const std::string from = ClientAddress(client);
  http.set_socket_options([from](int sock) {
    sockaddr_in local{};
    local.sin_family = AF_INET;
    ::inet_pton(AF_INET, from.c_str(), &local.sin_addr);
    ::bind(sock, reinterpret_cast<sockaddr*>(&local), sizeof local);
  });
  std::vector<std::string> acknowledged;
  for (int i = 0; i < kMaxPerClient && Clock::now() < deadline; ++i) {
    const std::string email =
        round + "c" + std::to_string(client) + "n" + std::to_string(i) + "@x.org";
    const std::string body = std::string("QVXSURVEYFILE=") + kSurvey + "&QVXEMAILADDRESS=" + email +
                             "&qvx1=2&qvx2-0=1&qvx3=A+short+text+answer%0D%0Awith+two+lines";
    const auto res = http.Post("/qvx", body, "application/x-www-form-urlencoded");
    if (res && res->status == 200) acknowledged.push_back(email);
  }
  return acknowledged;
}

struct Round {
  size_t acknowledged = 0;
  double seconds = 0;
  double rate() const { return static_cast<double>(acknowledged) / seconds; }
};

// CLIENTS threads post for SECONDS; adds what was acknowledged to sent.
Round PostRound(int port, int clients, int seconds, const std::string& name,
                std::set<std::string>& sent) {
  const auto start = Clock::now();
  const auto deadline = start + std::chrono::seconds(seconds);
  std::vector<std::vector<std::string>> acknowledged(static_cast<size_t>(clients));
  std::vector<std::thread> threads;
  for (int c = 0; c < clients; ++c) {
    threads.emplace_back(
        [&, c] { acknowledged[static_cast<size_t>(c)] = PostUntil(port, c, name, deadline); });
  }
  for (std::thread& t : threads) t.join();
  Round round;
  round.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  for (const auto& list : acknowledged) {
    round.acknowledged += list.size();
    sent.insert(list.begin(), list.end());
  }
  return round;
}

struct Returned {
  size_t known = 0, unknown = 0, repeated = 0;
};

// Everything GetResults hands out, checked against what was acknowledged.
Returned FetchAll(int port, const std::set<std::string>& sent) {
  std::this_thread::sleep_for(std::chrono::milliseconds(1100));  // the last second passes
  httplib::Client http("127.0.0.1", port);
  http.set_read_timeout(120, 0);
  const auto res = http.Get(std::string("/qvx/GetResults?SurveyFile=") + kSurvey +
                            "&ID=" + kPassword + "&LastUpdate=Never");
  Returned returned;
  if (!res || res->status != 200) return returned;
  SubmissionItems items;
  const int email = items.Slot("QVXEMAILADDRESS");
  std::set<std::string> seen;
  const std::vector<std::string> lines = SplitLines(res->body);
  for (size_t i = 1; i < lines.size() && !IsEndOfData(lines[i]); ++i) {
    items.Parse(lines[i]);
    ++(sent.count(items.Value(email)) ? returned.known : returned.unknown);
    if (!seen.insert(items.Value(email)).second) ++returned.repeated;
  }
  return returned;
}

// The attacker's connections and the clients' need descriptors beyond the
// usual 1024.
void RaiseFileLimit() {
  rlimit files{};
  if (getrlimit(RLIMIT_NOFILE, &files) == 0) {
    files.rlim_cur = files.rlim_max;
    setrlimit(RLIMIT_NOFILE, &files);
  }
}

}  // namespace

int main(int argc, char** argv) {
  int idle = 0;
  std::vector<int> numbers;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--idle") == 0 && i + 1 < argc) {
      idle = std::atoi(argv[++i]);
    } else {
      numbers.push_back(std::atoi(argv[i]));
    }
  }
  const int clients = numbers.size() > 0 ? numbers[0] : 8;
  const int seconds = numbers.size() > 1 ? numbers[1] : 5;
  if (clients <= 0 || clients > 250 || seconds <= 0 || seconds > 600 || idle < 0 || idle > 15000 ||
      numbers.size() > 2) {
    std::fprintf(
        stderr, "usage: collector_load [--idle N (0-15000)] [CLIENTS (1-250) [SECONDS (1-600)]]\n");
    return 2;
  }
  RaiseFileLimit();
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("collector_load." + std::to_string(::getpid()));
  fs::create_directories(dir);
  int status = 0;
  {
    collector::SqliteSubmissionStore store((dir / "c.db").string());
    store.Register(kSurvey, "NA", kPassword);
    collector::CollectorOptions options;
    options.port = 0;
    collector::CollectorServer server(options, store);
    if (!server.Bind()) {
      std::fprintf(stderr, "cannot bind a loopback port\n");
      return 1;
    }
    std::thread serving([&] { server.Listen(); });

    std::set<std::string> sent;
    const Round alone = PostRound(server.port(), clients, seconds, "a", sent);
    std::printf("clients: %d, time: %.2f s\n", clients, alone.seconds);
    std::printf("acknowledged: %zu submissions, %.0f per second (target >= 2000)\n",
                alone.acknowledged, alone.rate());
    if (idle > 0) {
      // The attack the per-address bound answers, then the one it cannot:
      // the same connections spread over addresses holding 20 each.
      std::vector<std::string> spread;
      for (int i = 0; i * 20 < idle; ++i) {
        spread.push_back("127.0." + std::to_string(1 + i / 250) + "." +
                         std::to_string(1 + i % 250));
      }
      const struct {
        std::vector<std::string> from;
        std::string what, round;
      } attacks[] = {{{"127.0.0.2"}, "from 127.0.0.2", "b"},
                     {spread, "from " + std::to_string(spread.size()) + " addresses", "c"}};
      for (const auto& attack : attacks) {
        bench::IdleConnections attacker(attack.from, server.port(), idle);
        std::this_thread::sleep_for(std::chrono::seconds(2));  // the attacker settles in
        attacker.ResetCounts();
        const long closed_before = attacker.closed_by_server();
        const Round attacked = PostRound(server.port(), clients, seconds, attack.round, sent);
        std::printf(
            "with %d idle, trickling connections %s (the collector kept %d to %d of them, "
            "closed %ld that were reopened):\n",
            idle, attack.what.c_str(), attacker.fewest(), attacker.most(),
            attacker.closed_by_server() - closed_before);
        std::printf(
            "acknowledged: %zu submissions, %.0f per second, %.1f %% of the rate without "
            "(targets >= 90 %% and >= 2000)\n",
            attacked.acknowledged, attacked.rate(), 100.0 * attacked.rate() / alone.rate());
      }
    }
    const Returned returned = FetchAll(server.port(), sent);
    server.Stop();
    serving.join();
    std::printf("returned by GetResults: %zu of %zu acknowledged (%zu unknown, %zu repeated)%s\n",
                returned.known, sent.size(), returned.unknown, returned.repeated,
                returned.known == sent.size() && returned.repeated == 0
                    ? ": nothing acknowledged was lost"
                    : "");
    if (returned.known != sent.size() || returned.repeated != 0) status = 1;
  }
  fs::remove_all(dir);
  return status;
}
