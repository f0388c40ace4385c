#include "core/publishing/server_requests.h"

#include "core/publishing/server_steps.h"

#include <gtest/gtest.h>

#include "core/survey/survey.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

class ServerRequestsTest : public testing::CoreTest {
 protected:
  ServerRequestsTest() : survey_(settings_) {
    survey_.Clear();
    survey_.SetServerURL("http://host.example/qvx/");
    survey_.SetUniqueName("S981203141502");
    survey_.SetModified(false);
  }
  TSurvey survey_;
};

TEST_F(ServerRequestsTest, UrlsAppendThePathToTheBaseAsTyped) {
  EXPECT_EQ(VerifyServerURL(survey_), "http://host.example/qvx//VerifyServer");
  EXPECT_EQ(RegisterSurveyURL(survey_),
            "http://host.example/qvx//RegisterSurvey?SurveyFile=S981203141502&AccountID=&ID=");
  survey_.SetAccountID("team a");
  survey_.SetPassword("p&ss#w=rd+\xC3\xA9");
  EXPECT_EQ(RegisterSurveyURL(survey_),
            "http://host.example/qvx//RegisterSurvey?SurveyFile=S981203141502&AccountID=team%20a"
            "&ID=p%26ss%23w%3Drd%2B%C3%A9");
  EXPECT_EQ(GetResultsURL(survey_),
            "http://host.example/qvx//GetResults?SurveyFile=S981203141502"
            "&ID=p%26ss%23w%3Drd%2B%C3%A9&LastUpdate=Never");
  survey_.SetSRLastUpdate("20261208101500");
  survey_.SetProcessResponses(1);
  EXPECT_TRUE(GetResultsURL(survey_).starts_with(survey_.EffectiveServerURL() + "/GetResults?"));
  EXPECT_TRUE(GetResultsURL(survey_).ends_with("&LastUpdate=20261208101500"));
}

TEST_F(ServerRequestsTest, VerificationJudgesTheBodyText) {
  ServerReplyOutcome passed = ApplyVerificationReply(survey_, "<p>Error: not Quorvant's page</p>");
  EXPECT_TRUE(passed.passed);
  EXPECT_EQ(passed.status, "Server verified at 12/03/1998 14:15:02");
  EXPECT_EQ(survey_.PubHistory(), "12/03/1998 14:15:02: Server verified.\r\n");
  // The outcome stays with the survey, saved and shown when it is opened again.
  EXPECT_EQ(survey_.ServerStatus(), passed.status);
  survey_.SaveAs(dir_.File("verified.qvx"));
  TSurvey reopened(settings_);
  reopened.Load(dir_.File("verified.qvx"));
  EXPECT_EQ(reopened.ServerStatus(), "Server verified at 12/03/1998 14:15:02");
  const ServerReplyOutcome failed = ApplyVerificationReply(survey_, "quorvant");
  EXPECT_EQ(survey_.ServerStatus(), "Server did not pass verification.");
  EXPECT_FALSE(failed.passed);
  EXPECT_EQ(failed.status, "Server did not pass verification.");
  EXPECT_EQ(failed.error,
            "The verification of http://host.example/qvx/ failed: An invalid verification code "
            "was passed.");
  EXPECT_EQ(failed.error_caption, "Server Verification Failed");
}

TEST_F(ServerRequestsTest, RegistrationSetsOrClearsTheDate) {
  const ServerReplyOutcome ok = ApplyRegistrationReply(survey_, "<b>Registration Complete</b>");
  EXPECT_TRUE(ok.passed);
  EXPECT_EQ(ok.status, "Survey registered at 12/03/1998 14:15:02");
  EXPECT_EQ(survey_.RegDate(), time());
  EXPECT_EQ(survey_.PubHistory(), "12/03/1998 14:15:02: Survey registered with server\r\n");

  const ServerReplyOutcome refused = ApplyRegistrationReply(
      survey_, "<html><h1>Registration failed</h1><p>Taken &amp; <i>locked</i></p></html>");
  EXPECT_FALSE(refused.passed);
  EXPECT_EQ(refused.status, "Survey failed to register.");
  EXPECT_EQ(refused.error,
            "The survey failed to register.  The following error was returned:\r\n\r\n"
            "Registration failedTaken &amp; locked");
  EXPECT_EQ(refused.error_caption, "Error");
  EXPECT_EQ(survey_.RegDate(), 0);
  EXPECT_TRUE(survey_.Modified());
  EXPECT_EQ(survey_.PubHistory(), "12/03/1998 14:15:02: Survey registered with server\r\n");
  EXPECT_FALSE(ApplyRegistrationReply(survey_, "registration complete").passed);
}

// The three steps the author sends by hand, judged by one rule: a reply
// with an error status is no reply for verify and register, while clearing
// names it; only a success status with the step's words passes.
TEST_F(ServerRequestsTest, StepsAreJudgedByStatusThenBody) {
  struct Row {
    ServerStep step;
    int status;
    const char* body;
    bool passed;
    const char* status_line;  // a prefix of the outcome's status line; "" for any
  };
  const Row rows[] = {
      {ServerStep::kVerify, 200, "Quorvant collector", true, "Server verified"},
      {ServerStep::kVerify, 0, "", false, "Connection to server failed..."},
      {ServerStep::kVerify, 503, "Quorvant collector", false, "Connection to server failed..."},
      {ServerStep::kVerify, 200, "some other page", false, ""},
      {ServerStep::kRegister, 200, "Registration Complete", true, ""},
      {ServerStep::kRegister, 404, "Registration Complete", false, ""},
      {ServerStep::kClearResults, 200, "Results Cleared", true, ""},
      {ServerStep::kClearResults, 429, "Results Cleared", false, ""},
      {ServerStep::kClearResults, 0, "", false, ""},
  };
  for (const Row& row : rows) {
    TSurvey survey(settings_);
    survey.SetServerURL("http://host.example/qvx/");
    survey.SetUniqueName("S1");
    const std::string history = survey.PubHistory();
    const ServerReplyOutcome outcome = JudgeServerReply(row.step, survey, row.status, row.body);
    const std::string where = std::to_string(static_cast<int>(row.step)) + " " +
                              std::to_string(row.status) + " " + row.body;
    EXPECT_EQ(outcome.passed, row.passed) << where;
    EXPECT_EQ(outcome.error.empty(), row.passed) << where;
    EXPECT_TRUE(outcome.status.starts_with(row.status_line)) << where << ": " << outcome.status;
    EXPECT_EQ(survey.PubHistory() != history, row.passed) << where << ": " << survey.PubHistory();
  }
  EXPECT_EQ(ServerStepURL(ServerStep::kVerify, survey_), VerifyServerURL(survey_));
  EXPECT_EQ(ServerStepURL(ServerStep::kRegister, survey_), RegisterSurveyURL(survey_));
  EXPECT_TRUE(ServerStepURL(ServerStep::kClearResults, survey_)
                  .starts_with("http://host.example/qvx//ClearResults?SurveyFile=S981203141502"));
}

TEST_F(ServerRequestsTest, ConnectionFailureNamesTheServer) {
  const ServerReplyOutcome verify = ConnectionFailedOutcome(survey_, true);
  EXPECT_EQ(verify.status, "Connection to server failed...");
  EXPECT_EQ(verify.error, "The connection to http://host.example/qvx/ failed.");
  EXPECT_EQ(verify.error_caption, "Server Verification Failed");
  EXPECT_EQ(survey_.ServerStatus(), "Connection to server failed...");
  survey_.SetServerStatus("Server not verified");
  EXPECT_EQ(ConnectionFailedOutcome(survey_, false).error_caption, "Survey Registration Failed");
  EXPECT_EQ(survey_.ServerStatus(), "Server not verified");  // a registration's, not ours
}

}  // namespace
}  // namespace quorvant
