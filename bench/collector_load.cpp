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
// With --db CONNINFO (a PostgreSQL connection string) or --pg-temp (a
// throw-away cluster started here), --collectors N collectors (default 2)
// share that database and the clients are spread over them; then one
// collector on SQLite takes the same load. Prints both rates and their ratio
// (targets: at least 2,000 per second through the shared database and at
// least 0.5 times the SQLite rate), with commits as durable as the server's
// defaults (synchronous_commit stays on), and whether every acknowledged
// submission came back exactly once from both.
//
// Usage: collector_load [--idle N] [--db CONNINFO | --pg-temp] [--collectors N]
//                       [CLIENTS [SECONDS]] (defaults 8 and 5).
// The collectors run in this process on free loopback ports; the SQLite
// database lives in a fresh folder under $TMPDIR, removed at the end.
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
#include "collector/connection_string.h"
#include "collector/postgres_submission_store.h"
#include "collector/sqlite_submission_store.h"
#include "core/responses/result_reply.h"
#include "core/shell/text_helpers.h"
#include "idle_connections.h"
#include "support/pg_temp_cluster.h"

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
std::vector<std::string> PostUntil(const std::string& survey, int port, int client,
                                   const std::string& round, Clock::time_point deadline) {
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
    const std::string body = "QVXSURVEYFILE=" + survey + "&QVXEMAILADDRESS=" + email +
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

// CLIENTS threads post for SECONDS, spread over the ports; adds what was
// acknowledged to sent.
Round PostRound(const std::string& survey, const std::vector<int>& ports, int clients, int seconds,
                const std::string& name, std::set<std::string>& sent) {
  const auto start = Clock::now();
  const auto deadline = start + std::chrono::seconds(seconds);
  std::vector<std::vector<std::string>> acknowledged(static_cast<size_t>(clients));
  std::vector<std::thread> threads;
  for (int c = 0; c < clients; ++c) {
    threads.emplace_back([&, c] {
      acknowledged[static_cast<size_t>(c)] =
          PostUntil(survey, ports[static_cast<size_t>(c) % ports.size()], c, name, deadline);
    });
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
Returned FetchAll(const std::string& survey, int port, const std::set<std::string>& sent) {
  std::this_thread::sleep_for(std::chrono::milliseconds(1100));  // the last second passes
  httplib::Client http("127.0.0.1", port);
  http.set_read_timeout(120, 0);
  const auto res =
      http.Get("/qvx/GetResults?SurveyFile=" + survey + "&ID=" + kPassword + "&LastUpdate=Never");
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

// One collector per store on a free loopback port, serving until destroyed.
class Collectors {
 public:
  explicit Collectors(const std::vector<collector::SubmissionStore*>& stores) {
    collector::CollectorOptions options;
    options.port = 0;
    for (collector::SubmissionStore* store : stores) {
      servers_.push_back(std::make_unique<collector::CollectorServer>(options, *store));
      if (!servers_.back()->Bind()) throw std::runtime_error("cannot bind a loopback port");
      ports_.push_back(servers_.back()->port());
    }
    for (auto& server : servers_) threads_.emplace_back([&server] { server->Listen(); });
  }
  ~Collectors() {
    for (auto& server : servers_) server->Stop();
    for (std::thread& t : threads_) t.join();
  }
  const std::vector<int>& ports() const { return ports_; }

 private:
  std::vector<std::unique_ptr<collector::CollectorServer>> servers_;
  std::vector<int> ports_;
  std::vector<std::thread> threads_;
};

// Prints what GetResults returned; false when something acknowledged was
// lost or repeated.
bool ReportReturned(const Returned& returned, size_t sent) {
  const bool complete = returned.known == sent && returned.repeated == 0;
  std::printf("returned by GetResults: %zu of %zu acknowledged (%zu unknown, %zu repeated)%s\n",
              returned.known, sent, returned.unknown, returned.repeated,
              complete ? ": nothing acknowledged was lost" : "");
  return complete;
}

// The clients against the collectors of the stores; false when something
// acknowledged did not come back exactly once.
bool Measure(const std::vector<collector::SubmissionStore*>& stores, const std::string& survey,
             int clients, int seconds, Round& round) {
  Collectors collectors(stores);
  std::set<std::string> sent;
  round = PostRound(survey, collectors.ports(), clients, seconds, "a", sent);
  std::printf("acknowledged: %zu submissions in %.2f s, %.0f per second\n", round.acknowledged,
              round.seconds, round.rate());
  return ReportReturned(FetchAll(survey, collectors.ports().front(), sent), sent.size());
}

// Several collectors on one PostgreSQL database, then one on SQLite.
int ComparePostgres(std::string conninfo, bool temp_cluster, int collectors, int clients,
                    int seconds, const std::filesystem::path& dir) {
  std::unique_ptr<testing::PgTempCluster> cluster;
  if (temp_cluster) {
    cluster = std::make_unique<testing::PgTempCluster>();
    cluster->CreateDatabase("collector_load");
    conninfo = cluster->ConnectionString("collector_load");
  }
  // A survey of its own, so that an existing database keeps its data apart.
  const std::string survey =
      "LOAD" + std::to_string(::getpid()) + "x" +
      std::to_string(std::chrono::system_clock::now().time_since_epoch().count());
  std::vector<std::unique_ptr<collector::PostgresSubmissionStore>> shared;
  std::vector<collector::SubmissionStore*> stores;
  for (int i = 0; i < collectors; ++i) {
    shared.push_back(std::make_unique<collector::PostgresSubmissionStore>(conninfo));
    stores.push_back(shared.back().get());
  }
  shared.front()->Register(survey, "NA", kPassword);
  std::printf("clients: %d, %d collectors on one PostgreSQL (%s)\n", clients, collectors,
              collector::DatabaseForLog(conninfo).c_str());
  Round postgres;
  bool complete = Measure(stores, survey, clients, seconds, postgres);

  collector::SqliteSubmissionStore sqlite((dir / "c.db").string());
  sqlite.Register(survey, "NA", kPassword);
  std::printf("clients: %d, one collector on SQLite\n", clients);
  Round alone;
  complete = Measure({&sqlite}, survey, clients, seconds, alone) && complete;
  std::printf(
      "PostgreSQL through %d collectors: %.0f per second (target >= 2000), %.2f x one collector "
      "on SQLite (target >= 0.5)\n",
      collectors, postgres.rate(), postgres.rate() / alone.rate());
  return complete ? 0 : 1;
}

// One collector on SQLite, alone and, with idle > 0, under the two attacks.
int MeasureSqlite(int clients, int seconds, int idle, const std::filesystem::path& dir) {
  collector::SqliteSubmissionStore store((dir / "c.db").string());
  store.Register(kSurvey, "NA", kPassword);
  Collectors collectors({&store});
  const int port = collectors.ports().front();

  std::set<std::string> sent;
  const Round alone = PostRound(kSurvey, {port}, clients, seconds, "a", sent);
  std::printf("clients: %d, time: %.2f s\n", clients, alone.seconds);
  std::printf("acknowledged: %zu submissions, %.0f per second (target >= 2000)\n",
              alone.acknowledged, alone.rate());
  if (idle > 0) {
    // The attack the per-address bound answers, then the one it cannot:
    // the same connections spread over addresses holding 20 each.
    std::vector<std::string> spread;
    for (int i = 0; i * 20 < idle; ++i) {
      spread.push_back("127.0." + std::to_string(1 + i / 250) + "." + std::to_string(1 + i % 250));
    }
    const struct {
      std::vector<std::string> from;
      std::string what, round;
    } attacks[] = {{{"127.0.0.2"}, "from 127.0.0.2", "b"},
                   {spread, "from " + std::to_string(spread.size()) + " addresses", "c"}};
    for (const auto& attack : attacks) {
      bench::IdleConnections attacker(attack.from, port, idle);
      std::this_thread::sleep_for(std::chrono::seconds(2));  // the attacker settles in
      attacker.ResetCounts();
      const long closed_before = attacker.closed_by_server();
      const Round attacked = PostRound(kSurvey, {port}, clients, seconds, attack.round, sent);
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
  return ReportReturned(FetchAll(kSurvey, port, sent), sent.size()) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  int idle = 0, collectors = 2;
  std::string conninfo;
  bool temp_cluster = false;
  std::vector<int> numbers;
  for (int i = 1; i < argc; ++i) {
    const bool has_value = i + 1 < argc;
    if (std::strcmp(argv[i], "--idle") == 0 && has_value) {
      idle = std::atoi(argv[++i]);
    } else if (std::strcmp(argv[i], "--db") == 0 && has_value) {
      conninfo = argv[++i];
    } else if (std::strcmp(argv[i], "--collectors") == 0 && has_value) {
      collectors = std::atoi(argv[++i]);
    } else if (std::strcmp(argv[i], "--pg-temp") == 0) {
      temp_cluster = true;
    } else {
      numbers.push_back(std::atoi(argv[i]));
    }
  }
  const int clients = numbers.size() > 0 ? numbers[0] : 8;
  const int seconds = numbers.size() > 1 ? numbers[1] : 5;
  const bool postgres = temp_cluster || !conninfo.empty();
  if (clients <= 0 || clients > 250 || seconds <= 0 || seconds > 600 || idle < 0 || idle > 15000 ||
      numbers.size() > 2 || collectors < 1 || collectors > 16 || (postgres && idle > 0) ||
      (temp_cluster && !conninfo.empty()) ||
      (!conninfo.empty() && !collector::IsPostgresConnectionString(conninfo))) {
    std::fprintf(
        stderr,
        "usage: collector_load [--idle N (0-15000)] [--db POSTGRESQL-CONNINFO | --pg-temp] "
        "[--collectors N (1-16)] [CLIENTS (1-250) [SECONDS (1-600)]]\n");
    return 2;
  }
  RaiseFileLimit();
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("collector_load." + std::to_string(::getpid()));
  fs::create_directories(dir);
  int status = 0;
  try {
    status = postgres ? ComparePostgres(conninfo, temp_cluster, collectors, clients, seconds, dir)
                      : MeasureSqlite(clients, seconds, idle, dir);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "collector_load: %s\n", e.what());
    status = 1;
  }
  fs::remove_all(dir);
  return status;
}
