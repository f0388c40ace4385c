#include "app/transfer/smtp_client.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <cstdlib>
#include <deque>
#include <set>

#include "core/emaillists/email_list.h"
#include "core/publishing/mail_merge.h"
#include "core/shell/preferences.h"
#include "core/survey/survey.h"
#include "mail_test_support.h"
#include "support/scripted_prompts.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

using testing::SmtpSink;

const char kPage[] = "<html><body>Caf\xC3\xA9 \x01\xFF survey</body></html>\r\n";

std::string Lf(std::string text) {
  std::string out;
  for (char c : text)
    if (c != '\r') out += c;
  return out;
}

class SmtpClientTest : public testing::CoreTest {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "transfer_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
  }

  SmtpClientTest() : survey_(settings_) {
    survey_.Clear();
    survey_.SetName("Staff \xE2\x80\x94 Survey\r\nBcc: all@example.org");
    survey_.SetAuthor("Ann Author");
    survey_.SetNotifyMessage("\"Dear <FirstName> <LastName>,\",,\"Go to <SurveyTitle>.\"");
    survey_.SetNotificationFile(dir_.File("list.eml"));
    survey_.SetAllAddresses(true);
    survey_.SetAttachSurvey(true);
    survey_.SetHTMLFileName(dir_.File("page.htm"));
    testing::WriteFileOrDie(survey_.HTMLFileName(), kPage);
    prefs_.display_name = "Ann \"Boss\" Author";
    prefs_.reply_address = "ann@example.org";
    testing::ScriptedPrompts prompts;
    TEmailList list(prompts);
    EXPECT_TRUE(list.Create(survey_.NotificationFile()));
    records_ = {{"Eve\r\nBcc: victim@example.org", "Evil", "eve@example.org"},
                {"Zo\xC3\xAB", "M\xC3\xBCller", "zoe@example.org"},
                {"Carl", "Clerk", "carl@example.org"},
                {"Dora", "Dean", "dora@example.org"},
                {"Ed", "Eel", "ed@example.org"}};
    list.AppendAll(records_);
  }

  MailingResult Run(SmtpSink& sink, SmtpSettings settings = {}, std::deque<uint32_t> draws = {}) {
    settings.host = "127.0.0.1";
    settings.port = sink.port();
    SmtpClient client(settings);
    MailingOptions options;
    if (!draws.empty()) {
      options.draw = [draws](uint32_t) mutable {
        uint32_t v = draws.front();
        draws.pop_front();
        return v;
      };
    }
    return RunMailing(survey_, prefs_, client, view_, prompts_, options);
  }

  // Checks one received message against record `index` of the list.
  void ExpectMessage(const QJsonObject& m, size_t index) {
    const EmailRecord& r = records_[index];
    SCOPED_TRACE(r[2]);
    EXPECT_EQ(m["mail_from"].toString().toStdString(), "ann@example.org");
    EXPECT_EQ(m["rcpt_tos"].toArray().size(), 1);
    EXPECT_EQ(m["rcpt_tos"].toArray()[0].toString().toStdString(), r[2]);
    EXPECT_EQ(m["from"].toString().toStdString(), "\"Ann \\\"Boss\\\" Author\" <ann@example.org>");
    std::string to = m["to"].toString().toStdString();
    EXPECT_TRUE(to.ends_with("<" + r[2] + ">")) << to;
    EXPECT_EQ(m["subject"].toString().toStdString(),
              "Staff \xE2\x80\x94 SurveyBcc: all@example.org");
    EXPECT_EQ(m["x_mailer"].toString(), "Quorvant");
    // RFC 5322 wants a Date; spam filters want a Message-ID.
    const QDateTime date = QDateTime::fromString(m["date"].toString(), Qt::RFC2822Date);
    EXPECT_TRUE(date.isValid()) << m["date"].toString().toStdString();
    EXPECT_LT(std::abs(date.secsTo(QDateTime::currentDateTimeUtc())), 600);
    const std::string id = m["message_id"].toString().toStdString();
    EXPECT_TRUE(id.starts_with("<") && id.ends_with("@example.org>")) << id;
    EXPECT_TRUE(message_ids_.insert(id).second) << "one identifier per message: " << id;
    EXPECT_EQ(m["content_type"].toString(), "multipart/mixed");
    for (const QJsonValue& name : m["header_names"].toArray())
      EXPECT_NE(name.toString().toLower(), "bcc");
    QJsonArray parts = m["parts"].toArray();
    ASSERT_EQ(parts.size(), 2);
    EXPECT_EQ(parts[0].toObject()["type"].toString(), "text/plain");
    EmailRecord trimmed = r;
    EXPECT_EQ(Lf(testing::Base64Decoded(parts[0].toObject()["data"])),
              Lf(MergedBody(survey_.NotifyMessage(), trimmed, survey_)));
    EXPECT_EQ(parts[1].toObject()["type"].toString(), "text/html");
    EXPECT_EQ(parts[1].toObject()["filename"].toString(), "page.htm");
    EXPECT_EQ(testing::Base64Decoded(parts[1].toObject()["data"]), kPage);
  }

  std::string History() const { return survey_.PubHistory(); }

  TSurvey survey_;
  Preferences prefs_;
  std::vector<EmailRecord> records_;
  testing::EventLoopView view_;
  testing::ScriptedPrompts prompts_;
  std::set<std::string> message_ids_;
};

TEST_F(SmtpClientTest, AllAndSampledRunsOverOnePlainConnection) {
  SmtpSink sink(dir_.File("got.jsonl"), {});
  MailingResult result = Run(sink);
  ASSERT_EQ(result.end, MailingEnd::kCompleted);
  EXPECT_EQ(result.sent, 5);
  std::vector<QJsonObject> got = sink.Messages();
  ASSERT_EQ(got.size(), 5u);
  for (size_t i = 0; i < got.size(); ++i) ExpectMessage(got[i], i);
  EXPECT_EQ(got[1]["to"].toString().toStdString(), "Zo\xC3\xAB M\xC3\xBCller <zoe@example.org>");
  for (const QJsonObject& m : got) {
    EXPECT_EQ(m["peer_port"], got[0]["peer_port"]) << "one connection for the run";
    EXPECT_FALSE(m["tls"].toBool());
  }

  survey_.SetAllAddresses(false);
  survey_.SetSamplingPercent(60);     // three draws
  prompts_.confirm_answers = {true};  // the list was mailed already
  result = Run(sink, {}, {4, 2, 4});
  EXPECT_EQ(result.sent, 2);
  got = sink.Messages();
  ASSERT_EQ(got.size(), 7u);
  ExpectMessage(got[5], 1);
  ExpectMessage(got[6], 3);
}

TEST_F(SmtpClientTest, StartTlsWithLoginAndAVerifiedCertificate) {
  std::string cert = dir_.File("cert.pem"), key = dir_.File("key.pem");
  testing::MakeCertificate(cert, key);
  SmtpSink sink(dir_.File("got.jsonl"), {"--tls", QString::fromStdString(cert),
                                         QString::fromStdString(key), "--auth", "ann", "s3cret"});
  SmtpSettings settings;
  settings.user = "ann";
  settings.password = "s3cret";
  settings.ca_file = cert;
  MailingResult result = Run(sink, settings);
  ASSERT_EQ(result.end, MailingEnd::kCompleted) << view_.status;
  std::vector<QJsonObject> got = sink.Messages();
  ASSERT_EQ(got.size(), 5u);
  for (size_t i = 0; i < got.size(); ++i) {
    ExpectMessage(got[i], i);
    EXPECT_TRUE(got[i]["tls"].toBool());
    EXPECT_TRUE(got[i]["auth"].toBool());
  }

  // A wrong password, and a certificate that is not trusted, end the run
  // before anything is sent.
  settings.password = "wrong";
  prompts_.confirm_answers = {true, true};  // the list was mailed already
  result = Run(sink, settings);
  EXPECT_EQ(result.end, MailingEnd::kFailed);
  EXPECT_NE(prompts_.log.back().find("could not be used: 535 "), std::string::npos)
      << "the server's refusal in its own words: " << prompts_.log.back();
  settings.password = "s3cret";
  settings.ca_file.clear();
  result = Run(sink, settings);
  EXPECT_EQ(result.end, MailingEnd::kFailed);
  EXPECT_EQ(sink.Messages().size(), 5u);
  EXPECT_NE(History().find("ended by an error - 0 sent: The mail server 127.0.0.1 could not"),
            std::string::npos);
}

TEST_F(SmtpClientTest, APasswordIsNeverSentToAServerThatOffersNoEncryption) {
  // AUTH offered on the plain connection, no STARTTLS: what a careless
  // server, or a man in the middle who strips STARTTLS, shows.
  const std::string auth_log = dir_.File("auth.jsonl");
  SmtpSink sink(dir_.File("got.jsonl"),
                {"--auth", "ann", "s3cret", "--auth-log", QString::fromStdString(auth_log)});
  SmtpSettings settings;
  settings.user = "ann";
  settings.password = "s3cret";
  MailingResult result = Run(sink, settings);
  EXPECT_EQ(result.end, MailingEnd::kFailed);
  EXPECT_EQ(result.sent, 0);
  EXPECT_TRUE(sink.Messages().empty());
  EXPECT_FALSE(QFile::exists(QString::fromStdString(auth_log))) << "a login was attempted";
  EXPECT_EQ(prompts_.log, (std::vector<std::string>{
                              "error: The mail server 127.0.0.1 offered no encryption (STARTTLS), "
                              "so the password was not sent. Use a server or port that offers "
                              "it, such as TLS on port 465."}));

  // Without a user ID nothing secret is at stake: the run goes on in plain
  // text and this server's refusal shows in its own words.
  prompts_.log.clear();
  result = Run(sink, {});
  EXPECT_EQ(result.end, MailingEnd::kFailed);
  ASSERT_EQ(prompts_.log.size(), 1u);
  EXPECT_TRUE(
      prompts_.log[0].starts_with("error: The mail server 127.0.0.1 could not be used: 530"))
      << prompts_.log[0];
}

TEST_F(SmtpClientTest, ARefusalAtDataShowsTheServersReplyLine) {
  SmtpSink sink(dir_.File("got.jsonl"), {"--refuse-data"});
  MailingResult result = Run(sink);
  EXPECT_EQ(result.end, MailingEnd::kFailed);
  EXPECT_EQ(result.sent, 0);
  EXPECT_EQ(prompts_.log, (std::vector<std::string>{
                              "error: The mail server 127.0.0.1 could not be used: 554 5.7.1 "
                              "Message content rejected"}));
  EXPECT_NE(History().find("0 sent: The mail server 127.0.0.1 could not be used: 554 5.7.1 "
                           "Message content rejected"),
            std::string::npos);
}

TEST_F(SmtpClientTest, IntranetQuotedAndLiteralAddressesReachTheServer) {
  const std::vector<std::string> addresses = {"user@mailhost", "\"Jo Doe\"@example.org",
                                              "ops@[127.0.0.1]"};
  {
    testing::ScriptedPrompts prompts;
    TEmailList list(prompts);
    ASSERT_TRUE(list.Create(survey_.NotificationFile()));
    std::vector<EmailRecord> records;
    for (const std::string& address : addresses) records.push_back({"A", "B", address});
    list.AppendAll(records);
  }
  survey_.SetAttachSurvey(false);
  prefs_.reply_address = "surveys@intranet";
  SmtpSink sink(dir_.File("got.jsonl"), {});
  MailingResult result = Run(sink);
  ASSERT_EQ(result.end, MailingEnd::kCompleted) << view_.status;
  EXPECT_EQ(result.sent, 3);
  std::vector<std::string> got;
  for (const QJsonObject& m : sink.Messages()) {
    got.push_back(m["rcpt_tos"].toArray()[0].toString().toStdString());
    EXPECT_EQ(m["mail_from"].toString(), "surveys@intranet");
    EXPECT_TRUE(m["message_id"].toString().endsWith("@intranet>"));
  }
  EXPECT_EQ(got, addresses);
}

TEST_F(SmtpClientTest, StopAfterThreeMessagesWhileTheLoopRuns) {
  SmtpSink sink(dir_.File("got.jsonl"), {});
  view_.stop_at_event = 3;
  MailingResult result = Run(sink);
  EXPECT_EQ(result.end, MailingEnd::kStopped);
  EXPECT_EQ(sink.Messages().size(), 3u);
  EXPECT_NE(History().find("Send notifications stopped by user - 3 sent."), std::string::npos);
}

TEST_F(SmtpClientTest, RefusedRecipientIsSkippedAndTheRunGoesOn) {
  SmtpSink sink(dir_.File("got.jsonl"), {"--refuse", "zoe@example.org"});
  MailingResult result = Run(sink);
  EXPECT_EQ(result.end, MailingEnd::kCompleted);
  EXPECT_EQ(result.sent, 4);
  EXPECT_EQ(result.refused, (std::vector<std::string>{"zoe@example.org"}));
  std::vector<QJsonObject> got = sink.Messages();
  ASSERT_EQ(got.size(), 4u);
  ExpectMessage(got[1], 2);
  EXPECT_NE(History().find("4 Notifications sent. 1 refused."), std::string::npos);
}

TEST_F(SmtpClientTest, ServerKilledMidRunEndsTheRunWithTheCountSent) {
  SmtpSink sink(dir_.File("got.jsonl"), {"--die-after", "3"});
  MailingResult result = Run(sink);
  EXPECT_EQ(result.end, MailingEnd::kFailed);
  // The third message reached the sink, but its acceptance never came back.
  EXPECT_EQ(result.sent, 2);
  EXPECT_NE(History().find("Send notifications ended by an error - 2 sent: "), std::string::npos);
  ASSERT_EQ(prompts_.log.size(), 1u);
  EXPECT_TRUE(prompts_.log[0].starts_with("error: The mail server 127.0.0.1")) << prompts_.log[0];
}

TEST_F(SmtpClientTest, NoServerListeningFailsAtConnect) {
  SmtpSettings settings;
  settings.host = "127.0.0.1";
  settings.port = 1;
  SmtpClient client(settings);
  EXPECT_THROW(client.Connect(), EMailTransportError);
}

}  // namespace
}  // namespace quorvant
