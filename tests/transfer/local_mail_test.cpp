#include "app/transfer/local_mail.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QByteArray>
#include <QDateTime>
#include <filesystem>

#include "core/emaillists/email_list.h"
#include "core/shell/preferences.h"
#include "core/survey/survey.h"
#include "mail_test_support.h"
#include "support/scripted_prompts.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

class LocalMailTest : public testing::CoreTest {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "transfer_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
  }

  LocalMailTest() : survey_(settings_) {
    survey_.Clear();
    survey_.SetName("Staff Survey");
    survey_.SetNotifyMessage("\"Hello <FirstName>, <EmailAddress>\"");
    survey_.SetNotificationFile(dir_.File("list.eml"));
    survey_.SetAllAddresses(true);
    survey_.SetAttachSurvey(true);
    survey_.SetHTMLFileName(dir_.File("page.htm"));
    testing::WriteFileOrDie(survey_.HTMLFileName(), page_);
    prefs_.email_system = 1;
    testing::ScriptedPrompts prompts;
    TEmailList list(prompts);
    EXPECT_TRUE(list.Create(survey_.NotificationFile()));
    list.AppendAll(
        {{"Ann", "A", " ann@example.org "}, {"Bob\r\nCc: x@y.example", "B", "bob@example.org"}});
  }

  // A stand-in sendmail that keeps its arguments and input as <n>.args and
  // <n>.msg, and fails with a message once the file "fail" exists.
  std::string StandIn() {
    std::string path = dir_.File("sendmail");
    testing::WriteFileOrDie(path,
                            "#!/bin/sh\n"
                            "d=\"$(dirname \"$0\")\"\n"
                            "[ -e \"$d/fail\" ] && { echo 'mail queue full' >&2; exit 75; }\n"
                            "n=$(ls \"$d\" | grep -c '\\.msg$')\n"
                            "echo \"$@\" > \"$d/$n.args\"\n"
                            "cat > \"$d/$n.msg\"\n");
    chmod(path.c_str(), 0755);
    return path;
  }

  std::string page_ = "<html>\xC3\xA9t\xC3\xA9</html>";
  TSurvey survey_;
  Preferences prefs_;
  testing::EventLoopView view_;
  testing::ScriptedPrompts prompts_;
};

TEST_F(LocalMailTest, EachMessageGoesToSendmailWhole) {
  LocalMail mail(StandIn());
  ASSERT_TRUE(mail.Available());
  prefs_.gateway_text = "";
  MailingResult result = RunMailing(survey_, prefs_, mail, view_, prompts_);
  ASSERT_EQ(result.end, MailingEnd::kCompleted);
  EXPECT_EQ(testing::ReadFileOrDie(dir_.File("0.args")), "-t -i\n");
  std::string first = testing::ReadFileOrDie(dir_.File("0.msg"));
  EXPECT_TRUE(first.starts_with("To: ann@example.org\nSubject: Staff Survey\nDate: ")) << first;
  const size_t date = first.find("Date: ") + 6;
  const QString date_text =
      QString::fromStdString(first.substr(date, first.find('\n', date) - date));
  EXPECT_TRUE(QDateTime::fromString(date_text, Qt::RFC2822Date).isValid()) << first;
  EXPECT_NE(first.find("\nX-Mailer: Quorvant\n"), std::string::npos) << first;
  // No sender, so no Message-ID either: the local mail system adds its own.
  EXPECT_EQ(first.find("From:"), std::string::npos);
  EXPECT_EQ(first.find("Message-ID:"), std::string::npos);
  EXPECT_NE(first.find("\n\nHello Ann, ann@example.org\n"), std::string::npos) << first;
  std::string digits = QByteArray(page_.data()).toBase64().toStdString();
  EXPECT_NE(first.find("filename=\"page.htm\"\nContent-Transfer-Encoding: base64\n\n" + digits),
            std::string::npos)
      << first;
  std::string second = testing::ReadFileOrDie(dir_.File("1.msg"));
  EXPECT_EQ(second.substr(0, second.find("\n\n")).find("\nCc:"), std::string::npos);
  EXPECT_TRUE(second.starts_with("To: bob@example.org\n"));
}

TEST_F(LocalMailTest, AFailingProgramEndsTheRunAndAMissingOneIsReported) {
  LocalMail mail(StandIn());
  testing::WriteFileOrDie(dir_.File("fail"), "");
  MailingResult result = RunMailing(survey_, prefs_, mail, view_, prompts_);
  EXPECT_EQ(result.end, MailingEnd::kFailed);
  ASSERT_EQ(prompts_.log.size(), 1u);
  EXPECT_TRUE(prompts_.log[0].ends_with("refused the message: mail queue full")) << prompts_.log[0];

  LocalMail missing(dir_.File("no-such-sendmail"));
  EXPECT_FALSE(missing.Available());
  prompts_.log.clear();
  RunMailing(survey_, prefs_, missing, view_, prompts_);
  EXPECT_EQ(prompts_.log, (std::vector<std::string>{
                              "error: MAPI Services could not be found. Please ensure that a MAPI "
                              "compliant mail system is installed."}));
  setenv("QUORVANT_SENDMAIL", "/chosen/sendmail", 1);
  EXPECT_EQ(LocalMail().program(), "/chosen/sendmail");
  unsetenv("QUORVANT_SENDMAIL");
}

}  // namespace
}  // namespace quorvant
