// quorvant-cli clear-results, run as the real program against a collector on
// a loopback port: only a clearing that happened reaches the survey's
// history, and a collector that stops listening to wrong passwords is named
// as such, not as a failed connection.
#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "cli_runner.h"
#include "collector/collector_server.h"
#include "collector/sqlite_submission_store.h"
#include "collector/password_throttle.h"
#include "core/survey/survey.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

class ClearResultsCliTest : public testing::CoreTest {
 protected:
  ClearResultsCliTest() : store_(dir_.File("c.db"), [this] { return clock_seconds_; }) {
    options_.port = 0;
    server_ = std::make_unique<collector::CollectorServer>(options_, store_);
    EXPECT_TRUE(server_->Bind());
    thread_ = std::thread([this] { server_->Listen(); });
    store_.Register("S1", "", "right");
    store_.Submit("S1", "127.0.0.1", "test", {{"qvx1", "1"}});
  }
  ~ClearResultsCliTest() override {
    server_->Stop();
    thread_.join();
  }
  // A survey file for S1 on the collector with the given password.
  std::string SurveyWith(const std::string& password, const std::string& server = "") {
    TSurvey survey(settings_);
    survey.SetProcessResponses(0);
    survey.SetServerURL(
        server.empty() ? "http://127.0.0.1:" + std::to_string(server_->port()) + "/qvx" : server);
    survey.SetUniqueName("S1");
    survey.SetPassword(password);
    const std::string path = dir_.File(password + ".qvx");
    survey.SaveAs(path);
    return path;
  }
  testing::CliRun Clear(const std::string& path) {
    return testing::RunCli(dir_.path(), "clear-results '" + path + "'");
  }
  // The submissions held; only seconds that have passed are handed out.
  size_t Held() {
    ++clock_seconds_;
    return store_.Fetch("S1", "right", "").submissions.size();
  }

  int64_t clock_seconds_ = 1765188000;
  collector::SqliteSubmissionStore store_;
  collector::CollectorOptions options_;
  std::unique_ptr<collector::CollectorServer> server_;
  std::thread thread_;
};

TEST_F(ClearResultsCliTest, OnlyWhatHappenedIsRecorded) {
  const std::string wrong = SurveyWith("guess");
  const std::string wrong_before = testing::ReadFileOrDie(wrong);
  for (int i = 0; i < collector::PasswordThrottle::kFailuresPerWindow; ++i) {
    const testing::CliRun r = Clear(wrong);
    EXPECT_EQ(r.status, 1) << i;
    EXPECT_NE(r.err.find("is wrong"), std::string::npos) << r.err;
  }
  const testing::CliRun refused = Clear(wrong);
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.out, "The server refused: too many wrong passwords.\n");
  EXPECT_NE(refused.err.find("too many wrong passwords"), std::string::npos) << refused.err;
  EXPECT_EQ(refused.err.find("connection"), std::string::npos) << refused.err;
  // Refused before the password is looked at: the right one fares no better.
  const std::string right = SurveyWith("right");
  const std::string right_before = testing::ReadFileOrDie(right);
  EXPECT_EQ(Clear(right).out, "The server refused: too many wrong passwords.\n");
  const testing::CliRun nobody = Clear(SurveyWith("gone", "http://127.0.0.1:1/qvx"));
  EXPECT_EQ(nobody.status, 1);
  EXPECT_EQ(nobody.out, "Connection to server failed...\n");
  // No attempt that failed touched a survey file or the responses.
  EXPECT_EQ(testing::ReadFileOrDie(wrong), wrong_before);
  EXPECT_EQ(testing::ReadFileOrDie(right), right_before);
  EXPECT_EQ(Held(), 1u);
}

TEST_F(ClearResultsCliTest, ClearingThatWorkedIsRecorded) {
  const std::string right = SurveyWith("right");
  const testing::CliRun r = Clear(right);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "Results cleared from server.\n");
  EXPECT_EQ(Held(), 0u);
  TSurvey survey(settings_);
  survey.Load(right);
  EXPECT_NE(survey.PubHistory().find(": Results cleared from server."), std::string::npos);
}

}  // namespace
}  // namespace quorvant
