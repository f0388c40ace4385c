// The collector over real HTTP against clients that guess passwords, hold
// connections open or trickle their requests.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "collector/collector_server.h"
#include "store_kinds.h"
#include "support/test_env.h"

namespace quorvant::collector {
namespace {

using Clock = std::chrono::steady_clock;

class CollectorAbuseTest : public ::testing::TestWithParam<StoreKind> {
 protected:
  explicit CollectorAbuseTest(bool trust_proxy = false) : store_(GetParam().open(dir_.path(), {})) {
    options_.port = 0;
    options_.trust_proxy = trust_proxy;
    server_ = std::make_unique<CollectorServer>(options_, *store_);
    EXPECT_TRUE(server_->Bind());
    thread_ = std::thread([this] { server_->Listen(); });
    client_ = std::make_unique<httplib::Client>("127.0.0.1", server_->port());
    client_->set_read_timeout(5, 0);
    store_->Register("S1", "NA", "right");
  }
  ~CollectorAbuseTest() override {
    server_->Stop();
    thread_.join();
  }
  // A connection from 127.0.0.2 that has sent half a request header.
  int HalfRequest() const {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    ::inet_pton(AF_INET, "127.0.0.2", &address.sin_addr);
    EXPECT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    address.sin_port = htons(static_cast<uint16_t>(server_->port()));
    ::inet_pton(AF_INET, "127.0.0.1", &address.sin_addr);
    EXPECT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    const char half[] = "POST /qvx HTTP/1.1\r\nHost: x\r\nX-Wait: ";
    ::send(fd, half, sizeof half - 1, MSG_NOSIGNAL);
    return fd;
  }
  // Whether the collector has closed the connection.
  static bool ClosedByServer(int fd) {
    char byte;
    const ssize_t got = ::recv(fd, &byte, 1, MSG_DONTWAIT);
    return got == 0 || (got < 0 && errno != EAGAIN && errno != EWOULDBLOCK);
  }

  testing::TempDir dir_;
  std::unique_ptr<SubmissionStore> store_;
  CollectorOptions options_;
  std::unique_ptr<CollectorServer> server_;
  std::thread thread_;
  std::unique_ptr<httplib::Client> client_;
};

class BehindProxyTest : public CollectorAbuseTest {
 protected:
  BehindProxyTest() : CollectorAbuseTest(true) {}
  httplib::Result Fetch(const char* from, const char* password) {
    return client_->Get(
        std::string("/qvx/GetResults?SurveyFile=S1&LastUpdate=Never&ID=") + password,
        {{"X-Forwarded-For", from}});
  }
  httplib::Result Register(const char* from, const std::string& survey, const char* password) {
    return client_->Get("/qvx/RegisterSurvey?SurveyFile=" + survey + "&ID=" + password,
                        {{"X-Forwarded-For", from}});
  }
  static bool Registered(const httplib::Result& r) {
    return r && r->status == 200 && r->body.find("Registration Complete") != std::string::npos;
  }
};

TEST_P(BehindProxyTest, WrongPasswordsAreThrottledPerAddressOnly) {
  for (int i = 0; i < 5; ++i) {
    auto r = Fetch("203.0.113.5", "guess");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->status, 200);
    EXPECT_EQ(r->body, "<ERROR>\r\nThe password of the survey S1 is wrong.\r\n");
  }
  auto refused = Fetch("203.0.113.5", "guess");
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->status, 429);
  // Refused before the password is looked at: even the right one.
  auto right_from_guesser = Fetch("203.0.113.5", "right");
  ASSERT_TRUE(right_from_guesser);
  EXPECT_EQ(right_from_guesser->status, 429);

  const auto start = Clock::now();
  auto author = Fetch("198.51.100.20", "right");
  const auto waited = Clock::now() - start;
  ASSERT_TRUE(author);
  EXPECT_EQ(author->status, 200);
  EXPECT_EQ(author->body, "<DATA>\r\n</DATA>\r\n");
  EXPECT_LT(waited, std::chrono::milliseconds(500));
}

// Registering a survey again checks its password: guesses there count with
// the guesses at GetResults, and once the allowance is gone even the right
// password is not confirmed. Showing the password of one's own survey
// between guesses does not restore the allowance.
TEST_P(BehindProxyTest, RegistrationGuessesShareTheAllowance) {
  const char* guesser = "203.0.113.6";
  ASSERT_TRUE(Registered(Register(guesser, "MINE", "mine")));
  for (int i = 0; i < 3; ++i) {
    auto r = Register(guesser, "S1", "guess");
    ASSERT_TRUE(r);
    EXPECT_FALSE(Registered(r)) << i;
    EXPECT_NE(r->body.find("another password"), std::string::npos);
  }
  ASSERT_TRUE(Registered(Register(guesser, "MINE", "mine")));
  auto fetched = Fetch(guesser, "guess");
  ASSERT_TRUE(fetched);
  EXPECT_EQ(fetched->status, 200);
  auto last = Register(guesser, "S1", "guess2");
  ASSERT_TRUE(last);
  EXPECT_FALSE(Registered(last));

  auto right = Register(guesser, "S1", "right");
  ASSERT_TRUE(right);
  EXPECT_EQ(right->status, 200);
  EXPECT_FALSE(Registered(right));
  EXPECT_NE(right->body.find("Too many wrong passwords"), std::string::npos);
  EXPECT_EQ(Fetch(guesser, "right")->status, 429);
  EXPECT_FALSE(Registered(Register(guesser, "NEW", "x")));

  // The author elsewhere is not held up, and one who mistyped the password
  // of his own survey is let in again by the right one.
  const char* author = "198.51.100.21";
  for (int i = 0; i < 4; ++i) EXPECT_FALSE(Registered(Register(author, "S1", "typo")));
  EXPECT_TRUE(Registered(Register(author, "S1", "right")));
  for (int i = 0; i < 4; ++i) EXPECT_FALSE(Registered(Register(author, "S1", "typo")));
  EXPECT_TRUE(Registered(Register(author, "S1", "right")));
}

TEST_P(CollectorAbuseTest, IdleConnectionsLockNobodyOutAndAreBoundedPerAddress) {
  std::vector<int> idle;
  for (int i = 0; i < 200; ++i) idle.push_back(HalfRequest());
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  int open = 0;
  for (int fd : idle) open += ClosedByServer(fd) ? 0 : 1;
  EXPECT_LE(open, static_cast<int>(HttpDaemon::kConnectionsPerAddress));
  EXPECT_GE(open, 1);

  const auto start = Clock::now();
  for (int i = 0; i < 20; ++i) {
    auto r = client_->Post("/qvx", "QVXSURVEYFILE=S1&qvx1=" + std::to_string(i),
                           "application/x-www-form-urlencoded");
    ASSERT_TRUE(r) << i;
    EXPECT_EQ(r->status, 200);
  }
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(2));
  for (int fd : idle) ::close(fd);
}

TEST_P(CollectorAbuseTest, TricklingHeaderIsCutOffAtItsDeadline) {
  const int fd = HalfRequest();
  const auto start = Clock::now();
  bool closed = false;
  // One byte a second resets any idle timeout; the header deadline holds.
  while (!closed && Clock::now() - start < ConnectionDeadlines::kHeaderSeconds * 2) {
    ::send(fd, "a", 1, MSG_NOSIGNAL);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    closed = ClosedByServer(fd);
  }
  const auto lasted = Clock::now() - start;
  ::close(fd);
  EXPECT_TRUE(closed);
  EXPECT_GE(lasted, ConnectionDeadlines::kHeaderSeconds - std::chrono::seconds(1));
  EXPECT_LT(lasted, ConnectionDeadlines::kHeaderSeconds + std::chrono::seconds(3));
}

INSTANTIATE_TEST_SUITE_P(Stores, CollectorAbuseTest, ::testing::ValuesIn(StoreKinds()),
                         StoreKindName);
INSTANTIATE_TEST_SUITE_P(Stores, BehindProxyTest, ::testing::ValuesIn(StoreKinds()), StoreKindName);

}  // namespace
}  // namespace quorvant::collector
