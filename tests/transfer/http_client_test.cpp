// The HTTP client against a real collector on a loopback port.
#include "app/transfer/http_client.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QTcpServer>
#include <thread>

#include "collector/collector_server.h"
#include "collector/sqlite_submission_store.h"
#include "core/shell/settings_keys.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

// Records the client's signals in order.
struct EventLog {
  explicit EventLog(HttpClient& client) {
    QObject::connect(&client, &HttpClient::Connected, [this] { events += "connected "; });
    QObject::connect(&client, &HttpClient::Succeeded, [this] { events += "succeeded "; });
    QObject::connect(&client, &HttpClient::Failed,
                     [this](int code) { events += "failed(" + std::to_string(code) + ") "; });
    QObject::connect(&client, &HttpClient::ConnectionFailed, [this] { events += "nocontact "; });
  }
  std::string events;
};

class HttpClientTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "transfer_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
  }
  HttpClientTest() : store_(dir_.File("c.db")) {
    collector::CollectorOptions options;
    options.port = 0;
    server_ = std::make_unique<collector::CollectorServer>(options, store_);
    EXPECT_TRUE(server_->Bind());
    thread_ = std::thread([this] { server_->Listen(); });
    base_ = QString("http://127.0.0.1:%1/qvx").arg(server_->port());
  }
  ~HttpClientTest() override {
    server_->Stop();
    thread_.join();
  }

  testing::TempDir dir_;
  collector::SqliteSubmissionStore store_;
  std::unique_ptr<collector::CollectorServer> server_;
  std::thread thread_;
  QString base_;
};

TEST_F(HttpClientTest, SuccessCarriesTheBody) {
  HttpClient client;
  EventLog log(client);
  EXPECT_EQ(GetAndWait(client, base_ + "/VerifyServer"), HttpOutcome::kSucceeded);
  EXPECT_EQ(log.events, "connected succeeded ");
  EXPECT_TRUE(client.Body().contains("Quorvant"));
  EXPECT_FALSE(client.Busy());
}

TEST_F(HttpClientTest, ErrorStatusIsAFailureOfTheGet) {
  HttpClient client;
  EventLog log(client);
  EXPECT_EQ(GetAndWait(client, base_ + "/NoSuchPage"), HttpOutcome::kFailed);
  EXPECT_EQ(log.events, "connected failed(0) ");
  EXPECT_EQ(client.StatusCode(), 404);
}

TEST_F(HttpClientTest, NoServerIsAConnectionFailure) {
  QTcpServer probe;  // a port that was free a moment ago
  ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
  const int port = probe.serverPort();
  probe.close();
  HttpClient client;
  EventLog log(client);
  EXPECT_EQ(GetAndWait(client, QString("http://127.0.0.1:%1/qvx/VerifyServer").arg(port)),
            HttpOutcome::kConnectionFailed);
  EXPECT_EQ(log.events, "nocontact ");
}

TEST_F(HttpClientTest, SilentServerTimesOut) {
  QTcpServer silent;  // accepts connections and never answers
  ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
  HttpClient client;
  client.SetTimeoutMs(300);
  EventLog log(client);
  EXPECT_EQ(GetAndWait(client, QString("http://127.0.0.1:%1/x").arg(silent.serverPort())),
            HttpOutcome::kConnectionFailed);
  EXPECT_EQ(log.events, "nocontact ");
}

TEST_F(HttpClientTest, FileModeWritesBodyAndHeader) {
  HttpClient client;
  const QString body = QString::fromStdString(dir_.File("reply.dat"));
  const QString header = QString::fromStdString(dir_.File("reply.hdr"));
  client.SetFileMode(body, header);
  ASSERT_EQ(GetAndWait(client, base_ + "/GetResults?SurveyFile=S1&ID=x&LastUpdate=Never"),
            HttpOutcome::kSucceeded);
  QFile b(body), h(header);
  ASSERT_TRUE(b.open(QIODevice::ReadOnly));
  ASSERT_TRUE(h.open(QIODevice::ReadOnly));
  EXPECT_EQ(b.readAll(), "<ERROR>\r\nThe survey S1 is not registered here.\r\n");
  EXPECT_TRUE(h.readAll().contains("Content-Type: text/plain"));
}

TEST_F(HttpClientTest, ProxySettingsApplyOnlyWhenSwitchedOn) {
  SettingsStore settings(dir_.File("settings.ini"));
  settings.Write(settings::kProxyAddress, "127.0.0.1");
  settings.Write(settings::kProxyPort, 1);  // nothing listens there
  HttpClient client;
  client.ApplyProxySettings(settings);
  EXPECT_EQ(GetAndWait(client, base_ + "/VerifyServer"), HttpOutcome::kSucceeded);
  settings.Write(settings::kUseProxy, true);
  client.ApplyProxySettings(settings);
  EXPECT_EQ(GetAndWait(client, base_ + "/VerifyServer"), HttpOutcome::kConnectionFailed);
}

}  // namespace
}  // namespace quorvant
