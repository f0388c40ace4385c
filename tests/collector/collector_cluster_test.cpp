// Several collectors on one PostgreSQL database, with real components
// started here: a throw-away cluster, quorvant-collector processes and
// HAProxy in front of them with the shipped configuration. Respondents post
// through the balancer while authors fetch; whatever happens to a collector
// or the database, the submissions fetched are exactly the acknowledged ones
// (plus, at most, some whose reply was lost), each once, in stamp order.
#include <gtest/gtest.h>
#include <httplib.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <functional>
#include <mutex>
#include <set>
#include <thread>

#include "collector/collector_server.h"
#include "collector/postgres_submission_store.h"
#include "core/responses/result_reply.h"
#include "core/shell/text_helpers.h"
#include "support/child_process.h"
#include "support/pg_temp_cluster.h"
#include "support/test_env.h"

namespace quorvant::collector {
namespace {

using std::chrono::milliseconds;
using SteadyClock = std::chrono::steady_clock;

constexpr char kSurvey[] = "LOAD";
constexpr char kPassword[] = "pw";

// What the respondents were told.
struct Posted {
  std::mutex mutex;
  std::set<std::string> acknowledged;
  std::set<std::string> unanswered;  // no reply, or an error status
  int unavailable = 0;               // 503 replies
  int acknowledged_while_down = 0;   // 200s for requests sent and answered during an outage
};

// One author fetching again and again with the last stamp received.
struct Fetcher {
  std::string last;
  std::vector<std::string> emails;
  std::vector<std::string> stamps;

  void Fetch(int port) {
    httplib::Client http("127.0.0.1", port);
    http.set_read_timeout(60, 0);
    const auto res =
        http.Get(std::string("/qvx/GetResults?SurveyFile=") + kSurvey + "&ID=" + kPassword +
                 "&LastUpdate=" + (last.empty() ? "Never" : last));
    if (!res || res->status != 200) return;
    SubmissionItems items;
    const int email = items.Slot("QVXEMAILADDRESS");
    const int stamp = items.Slot("DateRec");
    const std::vector<std::string> lines = SplitLines(res->body);
    ASSERT_FALSE(lines.empty());
    ASSERT_EQ(lines[0], "<DATA>") << res->body.substr(0, 200);
    for (size_t i = 1; i < lines.size() && !IsEndOfData(lines[i]); ++i) {
      items.Parse(lines[i]);
      emails.push_back(items.Value(email));
      stamps.push_back(items.Value(stamp));
      last = items.Value(stamp);
    }
  }
};

class CollectorClusterTest : public ::testing::Test {
 protected:
  CollectorClusterTest() : cluster_(testing::SharedPgTempCluster()) {
    const std::string name =
        std::string("cluster_") + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    cluster_.CreateDatabase(name);
    conninfo_ = cluster_.ConnectionString(name);
    PostgresSubmissionStore(conninfo_).Register(kSurvey, "NA", kPassword);
  }
  ~CollectorClusterTest() override {
    if (::testing::Test::HasFailure()) {
      for (const char* log : {"collector0.log", "collector1.log", "haproxy.log"}) {
        std::ifstream in(dir_.File(log));
        std::string line;
        for (int n = 0; n < 40 && std::getline(in, line); ++n)
          std::fprintf(stderr, "%s: %s\n", log, line.c_str());
      }
    }
  }

  // Starts collector i (0 or 1) as its own process and waits until it answers.
  void StartCollector(int i) {
    ports_[i] = testing::FreeLoopbackPort();
    collectors_[i] = std::make_unique<testing::ChildProcess>(
        std::vector<std::string>{QUORVANT_COLLECTOR_PATH, "--listen",
                                 "127.0.0.1:" + std::to_string(ports_[i]), "--db", conninfo_,
                                 "--trust-proxy"},
        dir_.File("collector" + std::to_string(i) + ".log"));
    ASSERT_TRUE(WaitForVerify(ports_[i])) << "collector " << i << " did not start";
  }

  // HAProxy with the shipped configuration, moved to free loopback ports.
  void StartBalancer() {
    std::string config = testing::ReadFileOrDie(QUORVANT_SOURCE_DIR "/data/haproxy-collector.cfg");
    balancer_port_ = testing::FreeLoopbackPort();
    const std::pair<std::string, std::string> moves[] = {
        {"bind *:8080", "bind 127.0.0.1:" + std::to_string(balancer_port_)},
        {"127.0.0.1:8081", "127.0.0.1:" + std::to_string(ports_[0])},
        {"127.0.0.1:8082", "127.0.0.1:" + std::to_string(ports_[1])}};
    for (const auto& [from, to] : moves) {
      const size_t at = config.find(from);
      ASSERT_NE(at, std::string::npos) << from;
      config.replace(at, from.size(), to);
    }
    testing::WriteFileOrDie(dir_.File("haproxy.cfg"), config);
    balancer_ = std::make_unique<testing::ChildProcess>(
        std::vector<std::string>{"haproxy", "-db", "-f", dir_.File("haproxy.cfg")},
        dir_.File("haproxy.log"));
    ASSERT_TRUE(WaitForVerify(balancer_port_)) << testing::ReadFileOrDie(dir_.File("haproxy.log"));
  }

  void StartTwoBehindBalancer() {
    ASSERT_NO_FATAL_FAILURE(StartCollector(0));
    ASSERT_NO_FATAL_FAILURE(StartCollector(1));
    ASSERT_NO_FATAL_FAILURE(StartBalancer());
  }

  size_t AcknowledgedSoFar() {
    std::lock_guard lock(posted_.mutex);
    return posted_.acknowledged.size();
  }

  static bool WaitForVerify(int port) {
    const auto deadline = SteadyClock::now() + std::chrono::seconds(30);
    while (SteadyClock::now() < deadline) {
      httplib::Client http("127.0.0.1", port);
      http.set_connection_timeout(1, 0);
      const auto res = http.Get("/qvx/VerifyServer");
      if (res && res->status == 200) return true;
      std::this_thread::sleep_for(milliseconds(100));
    }
    return false;
  }

  // Posters send to the ports in turn and fetchers fetch from them in turn
  // until during() returns; then, once the last second has passed, every
  // fetcher fetches what is left.
  void RunLoad(const std::vector<int>& ports, int posters, int fetchers,
               const std::function<void()>& during) {
    std::atomic<bool> stop{false};
    std::vector<std::thread> threads;
    for (int p = 0; p < posters; ++p) {
      threads.emplace_back([&, p] {
        std::vector<std::unique_ptr<httplib::Client>> clients;
        for (int port : ports) {
          clients.push_back(std::make_unique<httplib::Client>("127.0.0.1", port));
          clients.back()->set_keep_alive(true);
          clients.back()->set_read_timeout(20, 0);
        }
        for (int i = 0; !stop; ++i) {
          const std::string email = "p" + std::to_string(p) + "n" + std::to_string(i) + "@x.org";
          const bool down_before = database_down_;
          const auto res = clients[static_cast<size_t>(i) % clients.size()]->Post(
              "/qvx",
              std::string("QVXSURVEYFILE=") + kSurvey + "&QVXEMAILADDRESS=" + email + "&qvx1=2",
              "application/x-www-form-urlencoded");
          std::lock_guard lock(posted_.mutex);
          if (res && res->status == 200) {
            posted_.acknowledged.insert(email);
            if (down_before && database_down_) ++posted_.acknowledged_while_down;
          } else {
            posted_.unanswered.insert(email);
            if (res && res->status == 503) ++posted_.unavailable;
          }
        }
      });
    }
    fetchers_.resize(static_cast<size_t>(fetchers));
    for (int f = 0; f < fetchers; ++f) {
      threads.emplace_back([&, f] {
        for (size_t i = static_cast<size_t>(f); !stop; ++i) {
          fetchers_[static_cast<size_t>(f)].Fetch(ports[i % ports.size()]);
          std::this_thread::sleep_for(milliseconds(300));
        }
      });
    }
    during();
    stop = true;
    for (std::thread& t : threads) t.join();
    std::this_thread::sleep_for(milliseconds(1100));
    for (Fetcher& f : fetchers_) f.Fetch(ports.front());
  }

  // Every fetcher got each acknowledged submission exactly once, nothing
  // that was not sent, and the stamps in order.
  void ExpectEveryFetcherGotEverything() {
    std::printf("acknowledged %zu, unanswered %zu (503: %d), fetched %zu and %zu\n",
                posted_.acknowledged.size(), posted_.unanswered.size(), posted_.unavailable,
                fetchers_.at(0).emails.size(), fetchers_.at(1).emails.size());
    ASSERT_GT(posted_.acknowledged.size(), 50u);
    for (size_t f = 0; f < fetchers_.size(); ++f) {
      const Fetcher& fetcher = fetchers_[f];
      std::set<std::string> got;
      size_t repeated = 0, unknown = 0;
      for (const std::string& email : fetcher.emails) {
        if (!got.insert(email).second) ++repeated;
        if (!posted_.acknowledged.count(email) && !posted_.unanswered.count(email)) ++unknown;
      }
      EXPECT_EQ(repeated, 0u) << "fetcher " << f;
      EXPECT_EQ(unknown, 0u) << "fetcher " << f;
      size_t missing = 0;
      for (const std::string& email : posted_.acknowledged) missing += got.count(email) ? 0 : 1;
      EXPECT_EQ(missing, 0u) << "fetcher " << f << " of " << posted_.acknowledged.size();
      EXPECT_TRUE(std::is_sorted(fetcher.stamps.begin(), fetcher.stamps.end())) << "fetcher " << f;
    }
  }

  testing::TempDir dir_;
  testing::PgTempCluster& cluster_;
  std::string conninfo_;
  int ports_[2] = {0, 0};
  std::unique_ptr<testing::ChildProcess> collectors_[2];
  int balancer_port_ = 0;
  std::unique_ptr<testing::ChildProcess> balancer_;
  std::atomic<bool> database_down_{false};
  Posted posted_;
  std::vector<Fetcher> fetchers_;
};

TEST_F(CollectorClusterTest, BalancedCollectorsLoseNothingWhenOneIsKilled) {
  ASSERT_NO_FATAL_FAILURE(StartTwoBehindBalancer());
  size_t at_kill = 0;
  RunLoad({balancer_port_}, 6, 2, [&] {
    std::this_thread::sleep_for(std::chrono::seconds(2));
    EXPECT_EQ(collectors_[0]->Kill(SIGKILL), 128 + SIGKILL);
    at_kill = AcknowledgedSoFar();
    std::this_thread::sleep_for(std::chrono::seconds(4));
  });
  EXPECT_GT(at_kill, 20u);
  EXPECT_GT(posted_.acknowledged.size(), at_kill + 20) << "the other collector did not take over";
  ExpectEveryFetcherGotEverything();
}

TEST_F(CollectorClusterTest, DatabaseOutageGives503AndCollectionResumesByItself) {
  ASSERT_NO_FATAL_FAILURE(StartTwoBehindBalancer());
  size_t at_restart = 0;
  int verify_while_down = 0;
  RunLoad({balancer_port_}, 6, 2, [&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    cluster_.Stop();
    database_down_ = true;
    std::this_thread::sleep_for(std::chrono::seconds(1));
    // The balancer's health check sees the collector without its database.
    httplib::Client http("127.0.0.1", ports_[0]);
    const auto verify = http.Get("/qvx/VerifyServer");
    verify_while_down = verify ? verify->status : -1;
    std::this_thread::sleep_for(std::chrono::seconds(2));
    database_down_ = false;
    cluster_.Start();
    at_restart = AcknowledgedSoFar();
    std::this_thread::sleep_for(std::chrono::seconds(4));
  });
  EXPECT_EQ(verify_while_down, 503);
  EXPECT_GT(posted_.unavailable, 0);
  EXPECT_EQ(posted_.acknowledged_while_down, 0);
  EXPECT_GT(posted_.acknowledged.size(), at_restart + 20) << "collection did not resume";
  ExpectEveryFetcherGotEverything();
}

int64_t SystemSeconds() {
  return std::chrono::duration_cast<std::chrono::seconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

// Two collectors in this process whose clocks are five minutes apart
// (stamps from their test clocks instead of the database's) still hand out
// one gap-free, repeat-free, ordered sequence; they agree on who registered a
// survey first and count wrong passwords together.
TEST_F(CollectorClusterTest, SkewedClocksOwnersAndThrottleAreShared) {
  PostgresSubmissionStore ahead(conninfo_, [] { return SystemSeconds(); });
  PostgresSubmissionStore behind(conninfo_, [] { return SystemSeconds() - 300; });
  CollectorOptions options;
  options.port = 0;
  options.trust_proxy = true;
  CollectorServer first(options, ahead), second(options, behind);
  ASSERT_TRUE(first.Bind());
  ASSERT_TRUE(second.Bind());
  std::thread serving_first([&] { first.Listen(); });
  std::thread serving_second([&] { second.Listen(); });

  RunLoad({first.port(), second.port()}, 4, 2,
          [] { std::this_thread::sleep_for(std::chrono::seconds(4)); });
  ExpectEveryFetcherGotEverything();

  for (int round = 0; round < 3; ++round) {
    const std::string survey = "RACE" + std::to_string(round);
    Registration a{}, b{};
    std::thread one([&] { a = ahead.Register(survey, "", "one"); });
    std::thread two([&] { b = behind.Register(survey, "", "two"); });
    one.join();
    two.join();
    EXPECT_EQ((a == Registration::kRegistered) + (b == Registration::kRegistered), 1) << round;
    EXPECT_EQ((a == Registration::kPasswordMismatch) + (b == Registration::kPasswordMismatch), 1);
  }

  auto fetch = [](int port, const char* password) {
    httplib::Client http("127.0.0.1", port);
    const auto res = http.Get(
        std::string("/qvx/GetResults?SurveyFile=") + kSurvey + "&LastUpdate=Never&ID=" + password,
        {{"X-Forwarded-For", "203.0.113.7"}});
    return res ? res->status : 0;
  };
  for (int i = 0; i < PasswordThrottle::kFailuresPerWindow; ++i) {
    EXPECT_EQ(fetch(i % 2 ? first.port() : second.port(), "guess"), 200) << i;
  }
  EXPECT_EQ(fetch(first.port(), "guess"), 429);
  EXPECT_EQ(fetch(second.port(), kPassword), 429);

  first.Stop();
  second.Stop();
  serving_first.join();
  serving_second.join();
}

}  // namespace
}  // namespace quorvant::collector
