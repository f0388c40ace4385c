#include "core/publishing/mailing_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <deque>
#include <filesystem>
#include <random>

#include "core/emaillists/email_list.h"
#include "core/publishing/mail_merge.h"
#include "core/publishing/mailing_history.h"
#include "core/publishing/sample_size.h"
#include "core/shell/preferences.h"
#include "core/shell/text_helpers.h"
#include "core/survey/survey.h"
#include "core/tableengine/table.h"
#include "mailing_fakes.h"
#include "support/scripted_prompts.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

using testing::FakeTransport;
using testing::FakeView;

class MailingRunTest : public testing::CoreTest {
 protected:
  MailingRunTest() : survey_(settings_) {
    survey_.Clear();
    survey_.SetName("Staff Survey");
    survey_.SetAuthor("Ann Author");
    survey_.SetNotifyMessage(
        "\"Dear <FirstName> <LastName>:\",,\"About <SurveyTitle>\",<SurveyAuthor>");
    survey_.SetNotificationFile(dir_.File("list.eml"));
    survey_.SetAllAddresses(true);
    survey_.SetAttachSurvey(false);
    prefs_.display_name = "Ann Author";
    prefs_.reply_address = "ann@example.org";
  }

  // A list of n people, "First<i>" "Last<i>" "p<i>@example.org".
  void MakeList(int n) {
    testing::ScriptedPrompts prompts;
    TEmailList list(prompts);
    ASSERT_TRUE(list.Create(survey_.NotificationFile()));
    std::vector<EmailRecord> records;
    for (int i = 1; i <= n; ++i) {
      std::string s = std::to_string(i);
      records.push_back({"First" + s, "Last" + s, "p" + s + "@example.org"});
    }
    list.AppendAll(records);
  }
  void DeleteRecords(const std::vector<uint32_t>& recnos) {
    testing::ScriptedPrompts prompts;
    TEmailList list(prompts);
    list.Open(survey_.NotificationFile());
    list.Delete(recnos);
  }

  MailingResult Run(std::deque<uint32_t> draws = {}) {
    MailingOptions options;
    if (!draws.empty()) {
      options.draw = [this, draws](uint32_t m) mutable {
        EXPECT_EQ(m, records_expected_);
        uint32_t v = draws.front();
        draws.pop_front();
        return v;
      };
    }
    history_before_ = survey_.PubHistory();
    return RunMailing(survey_, prefs_, transport_, view_, prompts_, options);
  }

  // What an invitation run asks when the person answers No.
  std::vector<std::string> DeclinedRunQuestions() {
    transport_ = FakeTransport();
    prompts_.log.clear();
    prompts_.confirm_answers = {false};
    Run();
    return prompts_.log;
  }

  std::vector<std::string> Recipients() const {
    std::vector<std::string> out;
    for (const auto& m : transport_.messages) out.push_back(m.recipient);
    return out;
  }
  // What the run added; the whole history when it replaced the placeholder.
  std::string NewHistory() const {
    const std::string& now = survey_.PubHistory();
    return now.starts_with(history_before_) ? now.substr(history_before_.size()) : now;
  }

  TSurvey survey_;
  Preferences prefs_;
  FakeTransport transport_;
  FakeView view_;
  testing::ScriptedPrompts prompts_;
  std::string history_before_;
  uint32_t records_expected_ = 0;
};

TEST(SampleDrawCountTest, ExtendedProductRoundedHalfToEven) {
  struct Row {
    uint32_t records;
    int percent;
    int64_t draws;
  } rows[] = {{50, 1, 1},  {50, 3, 2},   {50, 5, 2},         {10, 15, 1}, {10, 35, 4},
              {10, 25, 2}, {30, 50, 15}, {7, 100, 7},        {0, 10, 1},  {1000, 10, 100},
              {3, 50, 2},  {5, 50, 2},   {1000000, 7, 70000}};
  for (const Row& row : rows)
    EXPECT_EQ(SampleDrawCount(row.records, row.percent), row.draws)
        << row.records << " at " << row.percent << "%";
}

TEST_F(MailingRunTest, MergedBodyFillsFieldsInOrderAndNeverInsideItsOwnValue) {
  EmailRecord record{"<FirstName>x<LastName>", "L", "a@b.example"};
  EXPECT_EQ(
      MergedBody("\"Dear <FirstName> <LastName>:\",<EmailAddress>,,<SurveyTitle>", record, survey_),
      "Dear <FirstName>xL L:\r\na@b.example\r\n\r\nStaff Survey\r\n");
  EXPECT_EQ(MergedBody("Hello dear <FirstName>", record, survey_),
            "Hello\r\ndear\r\n<FirstName>xL\r\n");
}

TEST_F(MailingRunTest, AllAddressesRunSendsEveryUndeletedRecordInRecordOrder) {
  MakeList(5);
  DeleteRecords({3, 5});  // hidden in the list manager, so never mailed
  MailingResult result = Run();
  EXPECT_EQ(result.end, MailingEnd::kCompleted);
  EXPECT_EQ(result.sent, 3);
  EXPECT_EQ(Recipients(),
            (std::vector<std::string>{"p1@example.org", "p2@example.org", "p4@example.org"}));
  const MailMessage& m = transport_.messages[1];
  EXPECT_EQ(m.to_entry, "(First2 Last2) p2@example.org");
  EXPECT_EQ(m.from_name, "Ann Author");
  EXPECT_EQ(m.from_address, "ann@example.org");
  EXPECT_EQ(m.subject, "Staff Survey");
  EXPECT_EQ(m.body, "Dear First2 Last2:\r\n\r\nAbout Staff Survey\r\nAnn Author\r\n");
  EXPECT_EQ(m.attachment_path, "");
  EXPECT_EQ(NewHistory(), "12/03/1998 14:15:02: 3 Notifications sent.\r\n");
  EXPECT_EQ(view_.status, "3 Notifications sent on 12/03/1998 14:15:02");
  EXPECT_EQ(survey_.EMailStatus(), view_.status);  // kept and saved with the survey
  EXPECT_EQ(transport_.log.front(), "connect");
  EXPECT_EQ(transport_.log.back(), "disconnect");
  EXPECT_EQ(view_.log.front(), "max 3");
  EXPECT_TRUE(prompts_.log.empty());

  // A list whose every record is deleted holds no addresses.
  DeleteRecords({1, 2, 4});
  transport_ = FakeTransport();
  result = Run();
  EXPECT_EQ(result.end, MailingEnd::kNotStarted);
  EXPECT_TRUE(transport_.log.empty());
  EXPECT_EQ(prompts_.log,
            (std::vector<std::string>{"error: The Notification File " + survey_.NotificationFile() +
                                      " holds no addresses. Notifications were not "
                                      "sent."}));
}

TEST_F(MailingRunTest, AMailedListIsMailedAgainOnlyWhenThePersonSaysSo) {
  MakeList(3);
  ASSERT_EQ(Run().sent, 3);
  EXPECT_TRUE(prompts_.log.empty()) << "the first run asks nothing";
  const std::string question =
      "confirm(default no): [Send Notifications] The invitations of this survey were already "
      "mailed: 3 sent on 12/03/1998 14:15:02. Mail the list again?";

  // No: nothing is sent, connected or recorded.
  transport_ = FakeTransport();
  prompts_.confirm_answers = {false};
  MailingResult result = Run();
  EXPECT_EQ(result.end, MailingEnd::kDeclined);
  EXPECT_TRUE(transport_.log.empty());
  EXPECT_EQ(NewHistory(), "");
  EXPECT_EQ(prompts_.log, (std::vector<std::string>{question}));

  // Yes: mailed again, and the next question names the latest run, here
  // one stopped by the user after two messages.
  prompts_.log.clear();
  prompts_.confirm_answers = {true};
  view_ = FakeView();
  view_.stop_at_event = 2;
  result = Run();
  EXPECT_EQ(result.end, MailingEnd::kStopped);
  EXPECT_EQ(transport_.messages.size(), 2u);
  view_ = FakeView();
  EXPECT_EQ(
      DeclinedRunQuestions(),
      (std::vector<std::string>{"confirm(default no): [Send Notifications] The invitations of this "
                                "survey were already mailed: 2 sent on 12/03/1998 14:15:02. Mail "
                                "the list again?"}));
  // Told to mail again (quorvant-cli mail --again), the run asks nothing.
  prompts_.log.clear();
  MailingOptions options;
  options.mail_again = true;
  EXPECT_EQ(RunMailing(survey_, prefs_, transport_, view_, prompts_, options).sent, 3);
  EXPECT_TRUE(prompts_.log.empty());
}

TEST(MailingHistoryTest, TheLatestRunThatSentSomethingCounts) {
  struct Row {
    const char* history;
    int sent;  // 0: no mailing recorded
    const char* when;
    bool reminders = false;
  } rows[] = {
      {"", 0, ""},
      {"06/15/1963 06:00:00: Survey created\r\n", 0, ""},
      {"12/03/1998 14:15:02: 8 Notifications sent.\r\n", 8, "12/03/1998 14:15:02"},
      {"12/03/1998: 8 Notifications sent. 2 refused.\r\n", 8, "12/03/1998"},
      {"12/03/1998 10:00:00: 4 Notifications sent.\r\n"
       "12/03/1998 11:00:00: Send notifications stopped by user - none sent.\r\n"
       "12/03/1998 12:00:00: Send notifications ended by an error - 0 sent: x\r\n"
       "12/03/1998 13:00:00: 0 Notifications sent.\r\n",
       4, "12/03/1998 10:00:00"},
      {"12/03/1998 10:00:00: 4 Notifications sent.\r\n"
       "12/03/1998 12:00:00: Send notifications ended by an error - 3 sent: lost\r\n",
       3, "12/03/1998 12:00:00"},
      {"12/03/1998 10:00:00: Send notifications stopped by user - 7 sent.", 7,
       "12/03/1998 10:00:00"},
      {"12/03/1998 10:00:00: Server verified.\r\n12/03/1998 10:01:00: Notifications sent.\r\n", 0,
       ""},
      {"12/03/1998 10:00:00: 4 Notifications sent.\r\n"
       "12/04/1998 10:00:00: 2 Reminders sent. 1 refused.\r\n",
       2, "12/04/1998 10:00:00", true},
      {"12/04/1998 10:00:00: 2 Reminders sent.\r\n12/05/1998 10:00:00: 0 Reminders sent.\r\n", 2,
       "12/04/1998 10:00:00", true},
  };
  for (const Row& row : rows) {
    std::optional<PastMailing> past = LastMailing(row.history);
    EXPECT_EQ(past ? past->sent : 0, row.sent) << row.history;
    EXPECT_EQ(past ? past->when : "", row.when) << row.history;
    EXPECT_EQ(past && past->reminders, row.reminders) << row.history;
  }
}

// Against a plain reference: random lists and responses, the addresses
// varied in letter case and surrounding blanks; the run mails exactly the
// undeleted people whose address matches no response, in record order.
TEST_F(MailingRunTest, RemindersGoToTheUndeletedWhoseAddressIsInNoResponse) {
  survey_.SetOnly1Email(true);
  survey_.SetAllAddresses(false);  // the sampling is for invitations only
  const std::string answers = dir_.File("answers.dbf");
  survey_.SetSRResponseFile(answers);
  std::mt19937 random(30);
  auto pick = [&random](int n) { return static_cast<int>(random() % static_cast<uint32_t>(n)); };
  auto vary = [&](const std::string& address) {
    std::string out = pick(3) == 0 ? std::string(" \t").substr(0, 1 + pick(2)) : "";
    for (char c : address) out += pick(2) ? static_cast<char>(std::toupper(c)) : c;
    return out + std::string(pick(3), ' ');
  };
  auto plain = [](std::string text) {  // the reference: trimmed, lower case
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.erase(0, 1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.pop_back();
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
  };
  for (int round = 0; round < 25; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    const int people = 1 + pick(30);
    std::vector<std::string> list_addresses;
    std::vector<EmailRecord> records;
    for (int i = 0; i < people; ++i) {
      list_addresses.push_back(vary("u" + std::to_string(pick(40)) + "@example.org"));
      records.push_back({"F", "L", list_addresses.back()});
    }
    testing::ScriptedPrompts quiet;
    TEmailList list(quiet);
    ASSERT_TRUE(list.Create(survey_.NotificationFile()));
    list.AppendAll(records);
    std::vector<uint32_t> deleted;
    for (int i = 0; i < people; ++i)
      if (pick(5) == 0) deleted.push_back(static_cast<uint32_t>(i + 1));
    list.Delete(deleted);
    list.Close();

    Table::Create(answers, {{"EMAIL", 'C', 250}, {"QVX1", 'C', 10}});
    Table responses;
    responses.Open(answers);
    std::vector<std::string> answered;
    for (int k = pick(40); k > 0; --k) {
      answered.push_back(vary("u" + std::to_string(pick(60)) + "@example.org"));
      responses.Append({{"EMAIL", answered.back()}, {"QVX1", "1"}});
    }
    responses.Close();

    std::vector<std::string> expected;
    for (int i = 0; i < people; ++i) {
      if (std::find(deleted.begin(), deleted.end(), static_cast<uint32_t>(i + 1)) != deleted.end())
        continue;
      bool found = false;
      for (const std::string& a : answered) found = found || plain(a) == plain(list_addresses[i]);
      if (!found) expected.push_back(std::string(TrimBlanks(list_addresses[i])));
    }

    transport_ = FakeTransport();
    prompts_.log.clear();
    history_before_ = survey_.PubHistory();
    MailingOptions options;
    options.reminders = true;
    options.mail_again = true;
    MailingResult result = RunMailing(survey_, prefs_, transport_, view_, prompts_, options);
    EXPECT_EQ(Recipients(), expected);
    if (expected.empty()) {
      EXPECT_EQ(result.end, MailingEnd::kNobodyLeft);
      EXPECT_EQ(prompts_.log,
                (std::vector<std::string>{"info: Everybody on the notification list has answered. "
                                          "Reminders were not sent."}));
      EXPECT_EQ(NewHistory(), "");
    } else {
      EXPECT_EQ(result.end, MailingEnd::kCompleted);
      EXPECT_EQ(NewHistory(),
                "12/03/1998 14:15:02: " + std::to_string(expected.size()) + " Reminders sent.\r\n");
      EXPECT_EQ(view_.status,
                std::to_string(expected.size()) + " Reminders sent on 12/03/1998 14:15:02");
    }
  }
}

TEST_F(MailingRunTest, RemindersNeedAddressesAndResponsesAndAskLikeARepeatedMailing) {
  MakeList(3);
  ASSERT_EQ(Run().sent, 3);  // the invitations
  MailingOptions options;
  options.reminders = true;
  auto remind = [&](std::deque<bool> answers = {}) {
    transport_ = FakeTransport();
    prompts_.log.clear();
    prompts_.confirm_answers = answers;
    history_before_ = survey_.PubHistory();
    return RunMailing(survey_, prefs_, transport_, view_, prompts_, options);
  };
  auto answered_by = [&](const std::vector<std::string>& addresses) {
    const std::string answers = dir_.File("answers.dbf");
    survey_.SetSRResponseFile(answers);
    Table::Create(answers, {{"EMAIL", 'C', 250}});
    Table responses;
    responses.Open(answers);
    for (const std::string& a : addresses) responses.Append({{"EMAIL", a}});
  };

  // A page that does not ask for the address, no response table yet, a
  // damaged one: nothing is sent or recorded, and the message says why.
  const std::string answers = dir_.File("answers.dbf");
  struct Row {
    const char* name;
    bool only1_email;
    const char* table;  // "" none; else the file's bytes
    const char* message;
  } rows[] = {
      {"page without address", false, "",
       "error: Reminders need the respondents' e-mail addresses, and the survey's page does not "
       "ask for them."},
      {"no response table", true, "",
       "error: No responses of this survey have been downloaded yet, so it is not known who has "
       "answered."},
      {"damaged response table", true, "not a table", "error: The following internal error"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    survey_.SetOnly1Email(row.only1_email);
    survey_.SetSRResponseFile(*row.table ? answers : "");
    if (*row.table) testing::WriteFileOrDie(answers, row.table);
    MailingResult result = remind();
    EXPECT_EQ(result.end, MailingEnd::kNotStarted);
    EXPECT_TRUE(transport_.log.empty());
    EXPECT_EQ(NewHistory(), "");
    ASSERT_EQ(prompts_.log.size(), 1u);
    EXPECT_TRUE(prompts_.log[0].starts_with(row.message)) << prompts_.log[0];
  }

  // Asked as a repeated mailing is, naming how many it is about to mail.
  survey_.SetOnly1Email(true);
  answered_by({"P2@Example.ORG "});
  EXPECT_EQ(remind({false}).end, MailingEnd::kDeclined);
  EXPECT_TRUE(transport_.log.empty());
  EXPECT_EQ(prompts_.log, (std::vector<std::string>{
                              "confirm(default no): [Send Notifications] The invitations of this "
                              "survey were already mailed: 3 sent on 12/03/1998 14:15:02. Send a "
                              "reminder to the 2 who have not answered?"}));
  EXPECT_EQ(remind({true}).sent, 2);
  EXPECT_EQ(Recipients(), (std::vector<std::string>{"p1@example.org", "p3@example.org"}));
  EXPECT_EQ(NewHistory(), "12/03/1998 14:15:02: 2 Reminders sent.\r\n");
  // The next invitation run names the reminders as the last mailing.
  EXPECT_EQ(
      DeclinedRunQuestions(),
      (std::vector<std::string>{"confirm(default no): [Send Notifications] The reminders of this "
                                "survey were already mailed: 2 sent on 12/03/1998 14:15:02. Mail "
                                "the list again?"}));
}

TEST_F(MailingRunTest, SampledRunMailsDistinctUndeletedDrawsInTextOrder) {
  MakeList(12);
  DeleteRecords({5});
  survey_.SetAllAddresses(false);
  survey_.SetSamplingPercent(50);  // six draws
  records_expected_ = 12;
  MailingResult result = Run({9, 2, 10, 2, 5, 9});
  EXPECT_EQ(result.sent, 3);
  EXPECT_EQ(Recipients(),
            (std::vector<std::string>{"p10@example.org", "p2@example.org", "p9@example.org"}));
  std::vector<std::string> expected_view = {"max 6", "status Selecting random addresses", "max 3",
                                            "pos 0", "status Sending 3 messages."};
  EXPECT_EQ(std::vector<std::string>(view_.log.begin(), view_.log.begin() + 5), expected_view);
  EXPECT_EQ(view_.events, 6 + 3);
  EXPECT_EQ(NewHistory(), "12/03/1998 14:15:02: 3 Notifications sent.\r\n");
}

TEST_F(MailingRunTest, StopEndsTheRunWithTheNumberSent) {
  MakeList(6);
  view_.stop_at_event = 3;
  MailingResult result = Run();
  EXPECT_EQ(result.end, MailingEnd::kStopped);
  EXPECT_EQ(transport_.messages.size(), 3u);
  EXPECT_EQ(NewHistory(), "12/03/1998 14:15:02: Send notifications stopped by user - 3 sent.\r\n");
  EXPECT_EQ(view_.status, "Send notifications stopped by user - 3 sent.");
  EXPECT_EQ(survey_.EMailStatus(), view_.status);
  EXPECT_EQ(transport_.log.back(), "disconnect");

  // Stopped while drawing: nothing goes out.
  FakeTransport second;
  transport_ = second;
  view_ = FakeView();
  view_.stop_at_event = 2;
  survey_.SetAllAddresses(false);
  survey_.SetSamplingPercent(100);
  records_expected_ = 6;
  prompts_.confirm_answers = {true};  // three were sent already
  result = Run({1, 2, 3, 4, 5, 6});
  EXPECT_TRUE(transport_.messages.empty());
  EXPECT_EQ(NewHistory(),
            "12/03/1998 14:15:02: Send notifications stopped by user - none sent.\r\n");
}

TEST_F(MailingRunTest, RefusedAndImplausibleAddressesAreCountedAndSkipped) {
  MakeList(5);
  {
    testing::ScriptedPrompts p;
    TEmailList list(p);
    list.Open(survey_.NotificationFile());
    list.Write(4, 2, "x@example.org\r\nBcc: all@example.org");
  }
  transport_.refuse = {"p2@example.org"};
  MailingResult result = Run();
  EXPECT_EQ(result.end, MailingEnd::kCompleted);
  EXPECT_EQ(Recipients(),
            (std::vector<std::string>{"p1@example.org", "p3@example.org", "p5@example.org"}));
  EXPECT_EQ(NewHistory(),
            "12/03/1998 14:15:02: 3 Notifications sent. 2 refused.\r\n"
            "12/03/1998 14:15:02: Refused addresses: p2@example.org, "
            "x@example.orgBcc: all@example.org\r\n");
  EXPECT_EQ(view_.status, "3 Notifications sent on 12/03/1998 14:15:02. 2 refused.");
}

TEST_F(MailingRunTest, LostConnectionOrRefusedLoginEndsCleanlyAndIsRecorded) {
  MakeList(5);
  transport_.lose_after = 2;
  MailingResult result = Run();
  EXPECT_EQ(result.end, MailingEnd::kFailed);
  EXPECT_EQ(result.sent, 2);
  EXPECT_EQ(NewHistory(),
            "12/03/1998 14:15:02: Send notifications ended by an error - 2 sent: Connection "
            "lost\r\n");
  EXPECT_EQ(survey_.EMailStatus(),
            "Send notifications ended by an error - 2 sent: Connection lost");
  EXPECT_EQ(prompts_.log, (std::vector<std::string>{"error: Connection lost"}));
  EXPECT_FALSE(transport_.connected);

  FakeTransport refusing;
  refusing.connect_error = "Login denied";
  transport_ = refusing;
  prompts_.log.clear();
  prompts_.confirm_answers = {true};  // two were sent already
  result = Run();
  EXPECT_EQ(result.end, MailingEnd::kFailed);
  EXPECT_EQ(NewHistory(),
            "12/03/1998 14:15:02: Send notifications ended by an error - 0 sent: Login denied\r\n");
  // The list table was closed each time: it can be rewritten at once.
  MakeList(1);
}

TEST_F(MailingRunTest, FailedChecksShowTheirMessageAndRecordNothing) {
  struct Row {
    const char* name;
    int list_size;  // -1 no file, -2 a damaged file
    bool attach;
    bool write_page;
    int email_system;
    bool available;
    const char* connect_error;
    std::string message;
  };
  std::string list = dir_.File("list.eml");
  std::string page = dir_.File("page.htm");
  Row rows[] = {
      {"missing list", -1, false, false, 0, true, "",
       "The Notification File " + list + " could not be found. Notifications were not sent."},
      {"missing page", 3, true, false, 0, true, "",
       "The survey HTML file " + page +
           " could not be found. Notifications were not sent.\r\nYou must first generate the "
           "Survey Web Page."},
      {"damaged list", -2, false, false, 0, true, "", "The following internal error occurred: "},
      {"empty list", 0, false, false, 0, true, "",
       "The Notification File " + list + " holds no addresses. Notifications were not sent."},
      {"no local mail", 3, false, false, 1, false, "",
       "MAPI Services could not be found. Please ensure that a MAPI compliant mail system is "
       "installed."},
      {"logon failure", 3, false, false, 1, true, "x",
       "MAPI Logon failure.  Please verify that Username and  Password are correct."},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    survey_.SetEMailStatus("Not sent");
    std::filesystem::remove(list);
    if (row.list_size >= 0) MakeList(row.list_size);
    if (row.list_size == -2) testing::WriteFileOrDie(list, "not a table at all");
    survey_.SetAttachSurvey(row.attach);
    survey_.SetHTMLFileName(page);
    prefs_.email_system = row.email_system;
    transport_ = FakeTransport();
    transport_.available = row.available;
    transport_.connect_error = row.connect_error;
    prompts_.log.clear();
    MailingResult result = Run();
    EXPECT_EQ(result.end, MailingEnd::kNotStarted);
    EXPECT_TRUE(transport_.messages.empty());
    EXPECT_EQ(NewHistory(), "");
    EXPECT_EQ(survey_.EMailStatus(), "Not sent");
    ASSERT_EQ(prompts_.log.size(), 1u);
    EXPECT_TRUE(prompts_.log[0].starts_with("error: " + row.message)) << prompts_.log[0];
  }
  // Without an attachment a missing page does not matter.
  MakeList(2);
  survey_.SetAttachSurvey(false);
  prefs_.email_system = 0;
  transport_ = FakeTransport();
  EXPECT_EQ(Run().sent, 2);
}

TEST_F(MailingRunTest, MailThroughAServerNeedsAValidReplyAddressBeforeItConnects) {
  MakeList(2);
  struct Row {
    const char* reply;
    std::string message;
  } rows[] = {
      {"",
       "The reply address is empty. Fill in \"Reply Address\" on the Email page of Options > "
       "Preferences. Notifications were not sent."},
      {"Survey Team",
       "The reply address Survey Team is not a valid e-mail address. Correct \"Reply Address\" "
       "on the Email page of Options > Preferences. Notifications were not sent."},
      {"a@b.example\r\nBcc: c@d.example",
       "The reply address a@b.exampleBcc: c@d.example is not a valid e-mail address. Correct "
       "\"Reply Address\" on the Email page of Options > Preferences. Notifications were not "
       "sent."},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.reply);
    prefs_.reply_address = row.reply;
    transport_ = FakeTransport();
    prompts_.log.clear();
    EXPECT_EQ(Run().end, MailingEnd::kNotStarted);
    EXPECT_TRUE(transport_.log.empty()) << "nothing connected";
    EXPECT_EQ(NewHistory(), "");
    EXPECT_EQ(prompts_.log, (std::vector<std::string>{"error: " + row.message}));
  }
  // The local mail system sends as the logged-in user: no reply address.
  prefs_.reply_address = "";
  prefs_.email_system = 1;
  transport_ = FakeTransport();
  EXPECT_EQ(Run().sent, 2);
  // An intranet host without a dot is a valid sender.
  prefs_.reply_address = "surveys@mailhost";
  prefs_.email_system = 0;
  transport_ = FakeTransport();
  prompts_.confirm_answers = {true};
  EXPECT_EQ(Run().sent, 2);
  EXPECT_EQ(transport_.messages[0].from_address, "surveys@mailhost");
}

TEST_F(MailingRunTest, LocalMailUsesTheGatewayAndCutsTheSubject) {
  MakeList(1);
  {
    testing::ScriptedPrompts p;
    TEmailList list(p);
    list.Open(survey_.NotificationFile());
    list.Write(1, 2, "  q@example.org  ");
  }
  std::string title;
  for (int i = 0; i < 260; ++i) title += "\xC3\xA9";  // 260 characters in 520 bytes
  survey_.SetName(title);
  survey_.SetNotifyMessage("<EmailAddress>");
  survey_.SetAttachSurvey(true);
  survey_.SetHTMLFileName(dir_.File("page.htm"));
  testing::WriteFileOrDie(survey_.HTMLFileName(), "<html></html>");
  prefs_.email_system = 1;
  prefs_.gateway_text = "SMTP:";
  ASSERT_EQ(Run().sent, 1);
  const MailMessage& m = transport_.messages[0];
  EXPECT_EQ(m.recipient, "SMTP:q@example.org");
  EXPECT_EQ(m.to_entry, "SMTP:q@example.org");
  EXPECT_EQ(m.body, "q@example.org\r\n");
  EXPECT_EQ(m.subject, title.substr(0, 510));
  EXPECT_EQ(m.from_address, "");
  EXPECT_EQ(m.attachment_path, survey_.HTMLFileName());
  for (const std::string& entry : view_.log) EXPECT_NE(entry, "status q@example.org");
}

}  // namespace
}  // namespace quorvant
