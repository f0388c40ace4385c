// Incorporation of results replies: the collection rules, the filling of
// each question style, the error paths, and keeping the survey in step with
// its table.
#include "core/responses/incorporation.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/responses/response_table.h"
#include "core/shell/text_helpers.h"
#include "core/tableengine/table.h"
#include "response_test_util.h"
#include "support/scripted_prompts.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

using testing::AddQuestion;
using testing::WriteFileOrDie;

class IncorporationTest : public testing::CoreTest {
 protected:
  IncorporationTest() {
    single_ = AddQuestion(survey_, kStyleSingleChoice, "Smoke?", {"Yes", "No"}, true);
    multi_ = AddQuestion(survey_, kStyleMultipleChoice, "Which?", {"a", "b", "c"}, true);
    text_ = AddQuestion(survey_, kStyleText, "Why?", {}, false, -1);
    number_ = AddQuestion(survey_, kStyleNumeric, "How many?");  // 1 .. 10
    survey_.SetFileName(dir_.File("survey.qvx"));
    survey_.Save();
  }

  // Writes a reply of these submission lines and incorporates it.
  TAddResponseResult Run(const std::vector<std::string>& lines) {
    std::string reply = "<DATA>\r\n";
    for (const std::string& line : lines) reply += line + "\r\n";
    reply += "</DATA>\r\n";
    WriteFileOrDie(dir_.File("reply.dat"), reply);
    return RunFile(dir_.File("reply.dat"));
  }

  TAddResponseResult RunFile(const std::string& file) {
    TAddResponseResult result;
    Incorporate(survey_, file, result, prompts_, table_,
                [this](TSurvey&, TResponseTable& t) { hook_counts_.push_back(t.IsOpen()); });
    return result;
  }

  static std::string Counts(const TAddResponseResult& r) {
    return std::string(r.Completed ? "completed" : "not completed") + " added " +
           std::to_string(r.Added) + " eliminated " + std::to_string(r.Eliminated) + " total " +
           std::to_string(r.Total) + " held " + std::to_string(r.AlreadyHeld);
  }

  // Every record, its fields trimmed and joined by "|".
  std::string Records() {
    Table& t = table_.table();
    std::string out;
    for (uint32_t r = 1; r <= t.RecCount(); ++r) {
      t.GoTo(r);
      for (size_t f = 0; f < t.Fields().size(); ++f) {
        out += (f ? "|" : "") + std::string(TrimBlanks(t.Get(t.Fields()[f].name)));
      }
      out += "\n";
    }
    return out;
  }

  // A submission line from the collector, with the fixed items first.
  static std::string Line(const std::string& remote, const std::string& email,
                          const std::string& stamp, const std::string& answers = "") {
    return "RemoteAddr=" + remote + ",\"UserAgent=Test Browser 1.0\",DateRec=" + stamp +
           ",QVXEMAILADDRESS=" + email + (answers.empty() ? "" : "," + answers);
  }

  TSurvey survey_{settings_};
  testing::ScriptedPrompts prompts_;
  TResponseTable table_{prompts_};
  std::vector<bool> hook_counts_;
  int single_ = 0, multi_ = 0, text_ = 0, number_ = 0;
};

TEST_F(IncorporationTest, EveryStyleFillsItsFields) {
  const TAddResponseResult r = Run({
      Line("10.0.0.1", "ann@example.org", "20261208100000",
           "qvx1=1,qvx2-0=1,qvx2-1=2,qvx2-2=,qvx2=other,qvx2Other=Soup,"
           "\"qvx3=a&CR;&LF;b, c\",qvx4=7"),
      Line("10.0.0.2", "bob@example.org", "20261208100001",
           "qvx1=Other,qvx1Other=Maybe,qvx2-2=1,qvx4=12"),
      Line("10.0.0.3", "", "20261208100002", "qvx4=abc"),
      Line("10.0.0.4", "", "20261208100003", "qvx4=123456"),
  });
  EXPECT_EQ(Counts(r), "completed added 4 eliminated 0 total 4 held 0");
  // REMOTEIP|EMAIL|AGENT|DATERCVD|QVX1|QVX1OT|QVX2_0..2|QVX2|QVX2OT|QVX3|QVX4
  EXPECT_EQ(Records(),
            "10.0.0.1|ann@example.org|Test Browser 1.0|20261208100000|1||Y|N|N|Y|Soup|"
            "a\r\nb, c|7\n"
            "10.0.0.2|bob@example.org|Test Browser 1.0|20261208100001|Oth|Maybe|N|N|Y|N||"
            "|-9999\n"
            "10.0.0.3||Test Browser 1.0|20261208100002|||N|N|N|N|||-9999\n"
            "10.0.0.4||Test Browser 1.0|20261208100003|||N|N|N|N|||-9999\n");
  EXPECT_EQ(survey_.SRLastUpdate(), "20261208100003");
  EXPECT_EQ(survey_.SRResponseCount(), 4);
  EXPECT_EQ(survey_.SRServerUpdate(), time());
  EXPECT_EQ(hook_counts_, std::vector<bool>{true});
  EXPECT_TRUE(survey_.PubHistory().ends_with(": Added 4 responses.\r\n"));
  EXPECT_FALSE(survey_.Modified());  // saved
}

TEST_F(IncorporationTest, CollectionRules) {
  struct Case {
    const char* name;
    bool limit, one_ip, one_email;
    std::vector<std::string> lines;
    const char* counts;
    const char* addresses;  // REMOTEIP of the records kept
  };
  const Case cases[] = {
      {"no rules keep everything",
       false,
       false,
       false,
       {Line("10.0.0.1", "a@x", "20260101000001"), Line("10.0.0.1", "a@x", "20260101000002")},
       "completed added 2 eliminated 0 total 2 held 0",
       "10.0.0.1 10.0.0.1 "},
      {"address limit is a substring test",
       true,
       false,
       false,
       {Line("110.0.5.1", "a@x", "20260101000001"), Line("192.168.0.1", "b@x", "20260101000002"),
        Line("10.0.0.9", "c@x", "20260101000003")},
       "completed added 2 eliminated 1 total 2 held 0",
       "110.0.5.1 10.0.0.9 "},
      {"one per address within one reply",
       false,
       true,
       false,
       {Line("10.0.0.1", "a@x", "20260101000001"), Line("10.0.0.2", "a@x", "20260101000002"),
        Line("10.0.0.1", "b@x", "20260101000003")},
       "completed added 2 eliminated 1 total 2 held 0",
       "10.0.0.1 10.0.0.2 "},
      {"one per e-mail address within one reply",
       false,
       false,
       true,
       {Line("10.0.0.1", "a@x", "20260101000001"), Line("10.0.0.2", "a@x", "20260101000002"),
        Line("10.0.0.3", "b@x", "20260101000003")},
       "completed added 2 eliminated 1 total 2 held 0",
       "10.0.0.1 10.0.0.3 "},
      {"an empty e-mail address finds the blank one",
       false,
       false,
       true,
       {Line("10.0.0.1", "", "20260101000001"), Line("10.0.0.2", "", "20260101000002")},
       "completed added 1 eliminated 1 total 1 held 0",
       "10.0.0.1 "},
      {"a long address is compared as stored",
       false,
       true,
       false,
       {Line(std::string(30, '9'), "a@x", "20260101000001"),
        Line(std::string(30, '9'), "b@x", "20260101000002")},
       "completed added 1 eliminated 1 total 1 held 0",
       "9999999999999999999999999 "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    table_.Close();
    std::filesystem::remove(survey_.SRResponseFile());
    survey_.SetSRResponseFile("");
    survey_.SetSRLastUpdate("Never");
    survey_.SetLimitByIP(c.limit);
    survey_.SetIPAddresses(",10.0.");  // an empty entry matches nothing
    survey_.SetOnly1IP(c.one_ip);
    survey_.SetOnly1Email(c.one_email);
    EXPECT_EQ(Counts(Run(c.lines)), c.counts);
    std::string addresses;
    Table& t = table_.table();
    for (uint32_t r = 1; r <= t.RecCount(); ++r) {
      t.GoTo(r);
      addresses += std::string(TrimBlanks(t.Get("REMOTEIP"))) + " ";
    }
    EXPECT_EQ(addresses, c.addresses);
  }
}

TEST_F(IncorporationTest, RulesSeeRecordsOfEarlierRuns) {
  survey_.SetOnly1IP(true);
  survey_.SetOnly1Email(true);
  EXPECT_EQ(Counts(Run({Line("10.0.0.1", "a@x", "20260101000001")})),
            "completed added 1 eliminated 0 total 1 held 0");
  table_.Close();  // a later session opens the table afresh
  EXPECT_EQ(Counts(Run({Line("10.0.0.1", "b@x", "20260101000002"),
                        Line("10.0.0.2", "a@x", "20260101000003"),
                        Line("10.0.0.3", "c@x", "20260101000004")})),
            "completed added 1 eliminated 2 total 2 held 0");
  // Eliminated submissions were read too: the next request starts after them.
  EXPECT_EQ(survey_.SRLastUpdate(), "20260101000004");
}

TEST_F(IncorporationTest, AnAnswerHoldingTheEndMarkerDoesNotEndTheData) {
  WriteFileOrDie(dir_.File("reply.dat"),
                 "<DATA>\r\n" + Line("10.0.0.1", "a@x", "20260101000001", "qvx3=</DATA>") + "\r\n" +
                     Line("10.0.0.2", "b@x", "20260101000002", "\"qvx3=x </DATA> y\"") + "\r\n" +
                     Line("10.0.0.3", "c@x", "20260101000003") + "\r\n</data>\r\n" +
                     Line("10.0.0.4", "d@x", "20260101000004") + "\r\n");
  EXPECT_EQ(Counts(RunFile(dir_.File("reply.dat"))),
            "completed added 3 eliminated 0 total 3 held 0");
  table_.table().GoTo(2);
  EXPECT_EQ(table_.table().Get("QVX3"), "x </DATA> y");
}

TEST_F(IncorporationTest, EmptyDataAddsNothingButStillRecordsTheRun) {
  EXPECT_EQ(Counts(Run({})), "completed added 0 eliminated 0 total 0 held 0");
  EXPECT_TRUE(hook_counts_.empty());      // no records: no results, no history line
  EXPECT_EQ(survey_.SRLastUpdate(), "");  // as a new survey has it
  Run({Line("10.0.0.1", "a@x", "20260101000001")});
  const TAddResponseResult r = Run({});
  EXPECT_EQ(Counts(r), "completed added 0 eliminated 0 total 1 held 0");
  EXPECT_TRUE(survey_.PubHistory().ends_with(": Added 0 responses.\r\n"));
}

TEST_F(IncorporationTest, ServerErrorIsShownAndAddsNothing) {
  WriteFileOrDie(dir_.File("reply.dat"), "<ERROR>\r\nWrong password.\r\nRemoteAddr=1\r\n");
  EXPECT_EQ(Counts(RunFile(dir_.File("reply.dat"))),
            "completed added 0 eliminated 0 total 0 held 0");
  EXPECT_EQ(prompts_.log,
            std::vector<std::string>{"error: The following error occurred during update: "
                                     "Wrong password."});
}

TEST_F(IncorporationTest, QuestionsAddedAfterTheTableStillLeaveTheOtherAnswers) {
  Run({Line("10.0.0.1", "a@x", "20260101000001", "qvx4=3")});
  const int added = AddQuestion(survey_, kStyleNumeric, "New?");
  survey_.MoveItem(survey_.ItemCount() - 1, 0);  // before every other question
  const TAddResponseResult r =
      Run({Line("10.0.0.2", "b@x", "20260101000002", "qvx" + std::to_string(added) + "=5,qvx4=4")});
  EXPECT_EQ(Counts(r), "completed added 1 eliminated 0 total 2 held 0");
  table_.table().GoTo(2);
  EXPECT_EQ(std::string(TrimBlanks(table_.table().Get("QVX4"))), "4");
}

TEST_F(IncorporationTest, FailuresEndTheRunButTheSurveyIsSaved) {
  survey_.SetServerStatus("changed");
  EXPECT_EQ(Counts(RunFile(dir_.File("missing.dat"))),
            "not completed added 0 eliminated 0 total 0 held 0");
  EXPECT_FALSE(survey_.Modified());
  EXPECT_TRUE(prompts_.log.empty());  // no message of its own

  // A table that cannot be created: its box, nothing appended, saved.
  AddQuestion(survey_, kStyleText, "Zero width", {}, false, 0);
  table_.Close();
  std::filesystem::remove(survey_.SRResponseFile());
  EXPECT_EQ(Counts(Run({Line("10.0.0.1", "a@x", "20260101000001")})),
            "not completed added 0 eliminated 0 total 0 held 0");
  ASSERT_EQ(prompts_.log.size(), 1u);
  EXPECT_TRUE(prompts_.log[0].starts_with("error: Could not create the database "));
  EXPECT_FALSE(survey_.Modified());
}

// A crash after the table's commit and before the survey's save leaves the
// survey file with the old stamp. Neither the next request nor the same
// reply incorporated again may add those submissions a second time.
TEST_F(IncorporationTest, ATableAheadOfItsSurveyIsNotFilledTwice) {
  Run({Line("10.0.0.1", "a@x", "20260101000001")});
  const std::string before_crash = testing::ReadFileOrDie(survey_.FileName());
  const std::vector<std::string> second = {Line("10.0.0.2", "b@x", "20260101000002"),
                                           Line("10.0.0.3", "c@x", "20260101000003")};
  Run(second);
  table_.Close();
  WriteFileOrDie(survey_.FileName(), before_crash);  // the save never happened

  TSurvey reloaded(settings_);
  reloaded.Load(survey_.FileName());
  ASSERT_EQ(reloaded.SRLastUpdate(), "20260101000001");
  TResponseTable table(prompts_);
  ASSERT_TRUE(OpenResponsesOfLoadedSurvey(reloaded, table));
  EXPECT_EQ(reloaded.SRResponseCount(), 3);
  EXPECT_FALSE(reloaded.Modified());  // loading changes nothing
  CatchUpLastUpdate(reloaded, table);
  EXPECT_EQ(reloaded.SRLastUpdate(), "20260101000003");

  // The same reply again, as a saved reply might be.
  WriteFileOrDie(dir_.File("again.dat"),
                 "<DATA>\r\n" + second[0] + "\r\n" + second[1] + "\r\n</DATA>\r\n");
  TAddResponseResult result;
  Incorporate(reloaded, dir_.File("again.dat"), result, prompts_, table);
  EXPECT_EQ(Counts(result), "completed added 0 eliminated 0 total 3 held 2");
}

TEST_F(IncorporationTest, CatchUpLeavesNewerOrForeignStampsAlone) {
  Run({Line("10.0.0.1", "a@x", "20260101000005")});
  for (const char* stamp : {"20260101000009", "2026-01-01 00:00", "20260101000005"}) {
    survey_.SetSRLastUpdate(stamp);
    CatchUpLastUpdate(survey_, table_);
    EXPECT_EQ(survey_.SRLastUpdate(), stamp);
  }
  survey_.SetSRLastUpdate("20260101000001");
  CatchUpLastUpdate(survey_, table_);
  EXPECT_EQ(survey_.SRLastUpdate(), "20260101000005");
}

}  // namespace
}  // namespace quorvant
