#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "core/shell/atomic_file.h"
#include "core/survey/comma_text.h"
#include "core/survey/survey.h"
#include "core/survey/survey_exception.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

using testing::ReadFileOrDie;
using testing::WriteFileOrDie;

class SurveyFileTest : public testing::CoreTest {
 protected:
  TSurvey Loaded(const std::string& path) {
    TSurvey s(settings_);
    s.Clear();
    s.Load(path);
    return s;
  }
  std::string Write(const std::string& contents) {
    const std::string path = dir_.File("in.qvx");
    WriteFileOrDie(path, contents);
    return path;
  }
};

TEST_F(SurveyFileTest, SaveWritesEveryKeyInOrder) {
  TSurvey s(settings_);
  s.Clear();
  s.SetName("Canteen");
  s.SetInstructions("Hello\r\nworld");
  s.AddItem("Food?", kStyleSingleChoice, 1, 0, 0, true, 0, "Good,\"Very bad~bad\"");
  s.AddHistory("Survey registered with server");
  s.SaveAs(dir_.File("s.qvx"));
  EXPECT_EQ(ReadFileOrDie(dir_.File("s.qvx")),
            "[Details]\r\n"
            "Name=Canteen\r\nAuthor=\r\nPassword=\r\nUniqueName=S981203141502\r\n"
            "QuestionCount=1\r\nLastID=1\r\nInstructions=Hello&crlf;world\r\nFinalComments=\r\n"
            "PublishMethod=0\r\nDisplayTemplate=default.qvg\r\nProcessResponses=0\r\n"
            "AccountID=\r\nServerURL=\r\nResultURL=\r\nEMailAddress=\r\nNotificationFile=\r\n"
            "NotifyMessage=" + std::string(kDefaultNotifyMessage) + "\r\n"
            "AllAddresses=0\r\nAttachSurvey=0\r\nSamplingPercent=10\r\nIncomingDomain=0\r\n"
            "Domain=\r\nOnly1Email=0\r\nOnly1IP=0\r\nLimitByIP=0\r\n"
            "ServerStatus=Server not verified\r\nLastUpdated=12/03/1998 14:15:02\r\n"
            "HTMLLastUpdate=12/30/1899\r\nSRServerUpdate=06/15/1963 06:00:00\r\n"
            "RegDate=12/30/1899\r\nEMailStatus=Not sent\r\nHTMLStatus=HTML file not generated\r\n"
            "HTMLFileName=\r\nSRLastUpdate=Never\r\nSRResponseCount=0\r\nSRResponseFile=\r\n"
            "DataFileName=\r\nIPAddresses=\r\n"
            "PubHistory=\"12/03/1998 14:15:02: Survey registered with server\"\r\n"
            "\r\n[Question 1]\r\n"
            "Text=Food?\r\nStyle=1\r\nOptions=Good|Very bad~bad|\r\nLengthOfResponse=0\r\nID=1\r\n"
            "IncludeOther=1\r\nMinValue=0\r\nMaxValue=0\r\nStepValue=1\r\nChartType=1\r\n"
            "DisplayLegend=1\r\nLegendStyle=1\r\nDisplayMarks=1\r\nMarksStyle=0\r\nRotation=0\r\n"
            "SkipGroupOfQuestion=-1\r\nSkipGroupOfResponse=-1\r\n");
  EXPECT_FALSE(s.Modified());
  EXPECT_TRUE(s.HasFile());
}

// A new file is written straight out, a file that is there through its
// lines: both must come to the same bytes.
TEST_F(SurveyFileTest, NewFileAndSaveOverItGiveTheSameBytes) {
  TSurvey s(settings_);
  s.Clear();
  s.SetName(" Blank around ");
  s.SetAuthor("\"quoted\"");
  s.AddItem("H) part", kStyleHeader, 0, 0, 0, false, 0, "");
  s.AddItem("Line\r\nbreak", kStyleMultipleChoice, 1, 0, 0, true, 0, "a, b,\"c \"\"d\"\"\",|");
  s.AddItem(" lead", kStyleNumeric, 2, 90, -5, false, 0, "");
  s.AddItem("", kStyleText, 0, 0, 0, false, -1, "");
  s.SaveAs(dir_.File("new.qvx"));
  const std::string fresh = ReadFileOrDie(dir_.File("new.qvx"));
  s.Save();
  EXPECT_EQ(ReadFileOrDie(dir_.File("new.qvx")), fresh);
}

TEST_F(SurveyFileTest, EveryFieldSurvivesSaveAndLoad) {
  TSurvey s(settings_);
  s.Clear();
  s.SetName("\"Quoted title\"");
  s.SetAuthor("  padded author  ");
  s.SetPassword("p&ss#word");
  s.SetInstructions("one\r\ntwo");
  s.SetFinalComments("'bye'");
  s.SetPublishMethod(2);
  s.SetDisplayTemplate("bold.qvg");
  s.SetProcessResponses(1);
  s.SetAccountID("acct");
  s.SetServerURL("http://h.example/qvx");
  s.SetResultURL("http://h.example/thanks");
  s.SetEMailAddress("me@example.org");
  s.SetNotificationFile("/data/list.eml");
  s.SetNotifyMessage("\"Dear <FirstName>:\",,\"Regards, the team\"");
  s.SetAllAddresses(true);
  s.SetAttachSurvey(true);
  s.SetSamplingPercent(35);
  s.SetIncomingDomain(true);
  s.SetDomain("example.org");
  s.SetOnly1Email(true);
  s.SetOnly1IP(true);
  s.SetLimitByIP(true);
  s.SetServerStatus("Server verified");
  s.SetEMailStatus("Sent to 3");
  s.SetHTMLStatus("Generated");
  s.SetHTMLLastUpdate(EncodeDateTime({2001, 1, 2, 3, 4, 5, 0}).value());
  s.SetRegDate(EncodeDateTime({2001, 1, 3, 0, 0, 0, 0}).value());
  s.SetHTMLFileName("/tmp/page.htm");
  s.SetSRLastUpdate("20010104101010");
  s.SetSRServerUpdate(EncodeDateTime({2001, 1, 4, 10, 10, 10, 0}).value());
  s.SetSRResponseCount(17);
  s.SetSRResponseFile("/data/S1.dbf");
  s.SetDataFileName("data.dat");
  s.SetIPAddresses("10.0.,192.168.1.");
  s.AddItem(" leading blank", kStyleMultipleChoice, 1, 0, 0, false, 0,
            JoinCommaText({"A~a", "", "C"}));
  s.AddItem("Age", kStyleNumeric, 5, 99, 18, false, 0, "");
  s.AddItem("Say", kStyleText, 0, 0, 0, false, -1, "");
  s.AddItem("Section", kStyleHeader, 0, 0, 0, false, 0, "");
  s.Item(1).SkipGroupOfQuestion = 1;
  s.Item(0).SkipGroupOfResponse = 2;
  s.UpdateChartSettings(1, 4, false, 3, false, 2, 30);
  const TDateTime last_change = s.LastUpdated();
  s.SaveAs(dir_.File("all.qvx"));

  SetTime({2005, 6, 7, 8, 9, 10, 0});
  TSurvey t = Loaded(dir_.File("all.qvx"));
  EXPECT_EQ(t.Name(), s.Name());
  EXPECT_EQ(t.Author(), s.Author());
  EXPECT_EQ(t.Password(), s.Password());
  EXPECT_EQ(t.UniqueName(), s.UniqueName());
  EXPECT_EQ(t.Instructions(), "one\rtwo");
  EXPECT_EQ(t.FinalComments(), "'bye'");
  EXPECT_EQ(t.PublishMethod(), 2);
  EXPECT_EQ(t.DisplayTemplate(), "bold.qvg");
  EXPECT_EQ(t.ProcessResponses(), 1);
  EXPECT_EQ(t.AccountID(), "acct");
  EXPECT_EQ(t.ServerURL(), s.ServerURL());
  EXPECT_EQ(t.ResultURL(), s.ResultURL());
  EXPECT_EQ(t.EMailAddress(), s.EMailAddress());
  EXPECT_EQ(t.NotificationFile(), s.NotificationFile());
  EXPECT_EQ(t.NotifyMessage(), s.NotifyMessage());
  EXPECT_TRUE(t.AllAddresses() && t.AttachSurvey() && t.IncomingDomain());
  EXPECT_EQ(t.SamplingPercent(), 35);
  EXPECT_EQ(t.Domain(), "example.org");
  EXPECT_TRUE(t.Only1Email() && t.Only1IP() && t.LimitByIP());
  EXPECT_EQ(t.ServerStatus(), "Server verified");
  EXPECT_EQ(t.EMailStatus(), "Sent to 3");
  EXPECT_EQ(t.HTMLStatus(), "Generated");
  EXPECT_EQ(t.HTMLLastUpdate(), s.HTMLLastUpdate());
  EXPECT_EQ(t.RegDate(), s.RegDate());
  EXPECT_EQ(t.HTMLFileName(), s.HTMLFileName());
  EXPECT_EQ(t.SRLastUpdate(), "20010104101010");
  EXPECT_EQ(t.SRServerUpdate(), s.SRServerUpdate());
  EXPECT_EQ(t.SRResponseCount(), 17);
  EXPECT_EQ(t.SRResponseFile(), s.SRResponseFile());
  EXPECT_EQ(t.DataFileName(), "data.dat");
  EXPECT_EQ(t.IPAddresses(), s.IPAddresses());
  EXPECT_EQ(t.PubHistory(), s.PubHistory());
  EXPECT_EQ(t.LastID(), 4);
  EXPECT_EQ(t.LastUpdated(), time());  // a load stamps the load time
  EXPECT_NE(last_change, time());
  EXPECT_FALSE(t.Modified());
  ASSERT_EQ(t.ItemCount(), 4);
  for (int i = 0; i < 4; ++i) {
    const TQuestion &a = s.Item(i), &b = t.Item(i);
    EXPECT_EQ(a.Text, b.Text);
    EXPECT_EQ(a.Style, b.Style);
    EXPECT_EQ(a.Options, b.Options);
    EXPECT_EQ(a.LengthOfResponse, b.LengthOfResponse);
    EXPECT_EQ(a.ID, b.ID);
    EXPECT_EQ(a.IncludeOther, b.IncludeOther);
    EXPECT_EQ(a.MinValue, b.MinValue);
    EXPECT_EQ(a.MaxValue, b.MaxValue);
    EXPECT_EQ(a.StepValue, b.StepValue);
    EXPECT_EQ(a.ChartType, b.ChartType);
    EXPECT_EQ(a.DisplayLegend, b.DisplayLegend);
    EXPECT_EQ(a.LegendStyle, b.LegendStyle);
    EXPECT_EQ(a.DisplayMarks, b.DisplayMarks);
    EXPECT_EQ(a.MarksStyle, b.MarksStyle);
    EXPECT_EQ(a.Rotation, b.Rotation);
    EXPECT_EQ(a.SkipGroupOfQuestion, b.SkipGroupOfQuestion);
    EXPECT_EQ(a.SkipGroupOfResponse, b.SkipGroupOfResponse);
  }
}

// "Answer required" and the answer check came after files were in use: they
// are written only when on (or when the file holds them already), read as off
// when missing, and lines this build does not know, as an older build does
// not know these, stay untouched through a load and a save.
TEST_F(SurveyFileTest, RequiredAndCheckAnswersRoundTripAndOlderFilesStayAsTheyWere) {
  const std::string older = Write(
      "[Details]\r\nQuestionCount=2\r\nFromALaterBuild=7\r\n"
      "[Question 1]\r\nID=1\r\nStyle=2\r\nOptions=a|b|\r\nLaterKey=yes\r\n"
      "[Question 2]\r\nID=2\r\nStyle=4\r\n");
  TSurvey t = Loaded(older);
  EXPECT_FALSE(t.CheckAnswers());
  EXPECT_FALSE(t.Item(0).Required);
  EXPECT_FALSE(t.Item(1).Required);
  t.Save();
  std::string text = ReadFileOrDie(older);
  EXPECT_EQ(text.find("Required="), std::string::npos);
  EXPECT_EQ(text.find("CheckAnswers="), std::string::npos);
  EXPECT_NE(text.find("\r\nFromALaterBuild=7\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\nLaterKey=yes\r\n"), std::string::npos);

  t.SetCheckAnswers(true);
  t.SetItemRequired(0, true);
  t.Save();
  text = ReadFileOrDie(older);
  EXPECT_NE(text.find("\r\nCheckAnswers=1\r\n"), std::string::npos);
  const size_t first = text.find("[Question 1]"), second = text.find("[Question 2]");
  EXPECT_NE(text.find("\r\nRequired=1\r\n", first), std::string::npos);
  EXPECT_LT(text.find("\r\nRequired=1\r\n", first), second);
  EXPECT_EQ(text.find("Required=", second), std::string::npos);
  TSurvey u = Loaded(older);
  EXPECT_TRUE(u.CheckAnswers());
  EXPECT_TRUE(u.Item(0).Required);
  EXPECT_FALSE(u.Item(1).Required);

  // Switched off, a key the file holds is written as 0.
  u.SetCheckAnswers(false);
  u.SetItemRequired(0, false);
  u.Save();
  text = ReadFileOrDie(older);
  EXPECT_NE(text.find("\r\nCheckAnswers=0\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\nRequired=0\r\n"), std::string::npos);
  TSurvey v = Loaded(older);
  EXPECT_FALSE(v.CheckAnswers());
  EXPECT_FALSE(v.Item(0).Required);

  // A new file written straight out holds the keys where a save over it
  // keeps them: the same bytes either way.
  v.SetCheckAnswers(true);
  v.SetItemRequired(1, true);
  v.SaveAs(dir_.File("fresh.qvx"));
  const std::string fresh = ReadFileOrDie(dir_.File("fresh.qvx"));
  v.Save();
  EXPECT_EQ(ReadFileOrDie(dir_.File("fresh.qvx")), fresh);
  TSurvey w = Loaded(dir_.File("fresh.qvx"));
  EXPECT_TRUE(w.CheckAnswers());
  EXPECT_TRUE(w.Item(1).Required);
}

TEST_F(SurveyFileTest, ValuesLongerThan1023CharactersAreKeptWhole) {
  TSurvey s(settings_);
  s.Clear();
  const std::string long_text(5000, 'x');
  s.SetInstructions(long_text);
  std::vector<std::string> options(400, "An option line");
  s.AddItem("q", kStyleSingleChoice, 1, 0, 0, false, 0, JoinCommaText(options));
  for (int i = 0; i < 100; ++i) s.AddHistory("Entry " + std::to_string(i));
  s.SaveAs(dir_.File("long.qvx"));
  TSurvey t = Loaded(dir_.File("long.qvx"));
  EXPECT_EQ(t.Instructions(), long_text);
  EXPECT_EQ(t.Item(0).OptionLines().size(), 400u);
  EXPECT_EQ(t.PubHistory(), s.PubHistory());
}

TEST_F(SurveyFileTest, StaleQuestionSectionsStayAndAreIgnored) {
  TSurvey s(settings_);
  s.Clear();
  for (int i = 0; i < 5; ++i) s.AddItem("q" + std::to_string(i), kStyleText, 0, 0, 0, false, 10, "");
  s.SaveAs(dir_.File("s.qvx"));
  for (int i = 0; i < 3; ++i) s.DeleteItem(0);
  s.Save();
  const std::string text = ReadFileOrDie(dir_.File("s.qvx"));
  EXPECT_NE(text.find("[Question 5]"), std::string::npos);
  TSurvey t = Loaded(dir_.File("s.qvx"));
  EXPECT_EQ(t.ItemCount(), 2);
  EXPECT_EQ(t.Item(0).Text, "q3");
}

TEST_F(SurveyFileTest, MinimalFileTakesTheReadingDefaults) {
  TSurvey t = Loaded(Write("[Details]\r\n"));
  EXPECT_EQ(t.ItemCount(), 0);
  EXPECT_EQ(t.Name(), "N/A");
  EXPECT_EQ(t.Author(), "N/A");
  EXPECT_TRUE(t.Only1Email());
  EXPECT_TRUE(t.Only1IP());
  EXPECT_EQ(t.SRLastUpdate(), "Never");
  EXPECT_EQ(t.UniqueName(), "S981203141502");
  // HTMLLastUpdate is missing: the date block ends there.
  EXPECT_EQ(t.LastUpdated(), time());
  EXPECT_EQ(t.RegDate(), 0);
  EXPECT_EQ(t.SRServerUpdate(), NeverTime());
  EXPECT_EQ(t.PubHistory(), "\r\n");
  EXPECT_TRUE(t.HasFile());
}

TEST_F(SurveyFileTest, QuestionDefaultsAndBarLists) {
  TSurvey t = Loaded(Write(
      "[Details]\nQuestionCount=4\n"
      "[Question 1]\nID=1\nOptions=Yes|No|\n"
      "[Question 2]\nID=2\nStyle=1\nOptions=Yes|No\n"
      "[Question 3]\nID=3\nStyle=2\nOptions=a||b|\n"
      "[Question 4]\nID=7\nStyle=5\nOptions=\" pad |x|\"\n"));
  ASSERT_EQ(t.ItemCount(), 4);
  EXPECT_EQ(t.Item(0).Style, kStyleText);
  EXPECT_TRUE(t.Item(0).IncludeOther);
  EXPECT_EQ(t.Item(0).Text, "N/A");
  EXPECT_EQ(t.Item(0).MinValue, -1);
  EXPECT_EQ(t.Item(0).StepValue, 1);
  EXPECT_EQ(t.Item(0).OptionLines(), (std::vector<std::string>{"Yes", "No"}));
  EXPECT_EQ(t.Item(1).OptionLines(), (std::vector<std::string>{"Yes"}));
  EXPECT_EQ(t.Item(2).OptionLines(), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(t.Item(3).OptionLines(), (std::vector<std::string>{" pad ", "x"}));
  EXPECT_EQ(t.LastID(), 0);  // taken from the file, not recomputed
}

// An item's keys are read in one pass; they must still read as profile
// lookups do: in any order and letter case, the first of a repeated key
// counting even when its value is not a number, blanks and quotes taken off.
TEST_F(SurveyFileTest, ItemKeysReadInAnyOrderAndCaseFirstOneCounting) {
  TSurvey t = Loaded(
      Write("[Details]\nQuestionCount=2\n"
            "[Question 1]\n  skipgroupofresponse = 2 \nid=4\nSTYLE=6\nMaxValue=x\nMaxValue=9\n"
            "Text=\"  first  \"\ntext=second\nIncludeOther=0\nUnknown=1\nStepValue=0x10\n"
            "[Question 2]\nID=5\nID=6\nDisplayLegend=\nDisplayMarks=0\nOPTIONS=a|b|\n"));
  ASSERT_EQ(t.ItemCount(), 2);
  const TQuestion& a = t.Item(0);
  EXPECT_EQ(a.ID, 4);
  EXPECT_EQ(a.Style, kStyleNumeric);
  EXPECT_EQ(a.SkipGroupOfResponse, 2);
  EXPECT_EQ(a.MaxValue, -1);  // the first line holds no number: the default
  EXPECT_EQ(a.StepValue, 16);
  EXPECT_EQ(a.Text, "  first  ");
  EXPECT_FALSE(a.IncludeOther);
  EXPECT_EQ(a.MinValue, -1);
  EXPECT_EQ(a.SkipGroupOfQuestion, -1);
  EXPECT_EQ(a.Options, "");
  const TQuestion& b = t.Item(1);
  EXPECT_EQ(b.ID, 5);
  EXPECT_EQ(b.Text, "N/A");
  EXPECT_TRUE(b.DisplayLegend);  // empty: not a number
  EXPECT_FALSE(b.DisplayMarks);
  EXPECT_EQ(b.OptionLines(), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(b.ChartType, 1);
  EXPECT_EQ(b.LegendStyle, 1);
}

TEST_F(SurveyFileTest, LoadFailures) {
  TSurvey s(settings_);
  s.Clear();
  const std::string missing = dir_.File("missing.qvx");
  try {
    s.Load(missing);
    FAIL();
  } catch (const ESurveyException& e) {
    EXPECT_EQ(std::string(e.what()), "Could not find file " + missing);
  }
  EXPECT_EQ(s.FileName(), "Survey2.qvx");

  const std::string bad = Write("[Details]\nQuestionCount=3\n[Question 1]\nID=1\nText=first\n"
                                "[Question 2]\nText=no id\n[Question 3]\nID=3\n");
  try {
    s.Load(bad);
    FAIL();
  } catch (const ESurveyException& e) {
    EXPECT_EQ(std::string(e.what()), "Error reading file " + bad + ". File incorrectly formatted.");
  }
  EXPECT_EQ(s.ItemCount(), 1);  // the items before it stay
  EXPECT_EQ(s.FileName(), bad);
  EXPECT_FALSE(s.HasFile());
}

TEST_F(SurveyFileTest, FailedSaveKeepsTheOldFileAndTheSurveyModified) {
  TSurvey s(settings_);
  s.Clear();
  s.AddItem("q", kStyleText, 0, 0, 0, false, 10, "");
  const std::string path = dir_.File("nowhere/s.qvx");
  try {
    s.SaveAs(path);
    FAIL();
  } catch (const ESurveyException& e) {
    EXPECT_EQ(std::string(e.what()), "Unable to write to " + path);
  }
  EXPECT_TRUE(s.Modified());
  EXPECT_FALSE(s.HasFile());

  const std::string good = dir_.File("good.qvx");
  s.SaveAs(good);
  const std::string before = ReadFileOrDie(good);
  std::filesystem::permissions(dir_.path(), std::filesystem::perms::owner_read |
                                                std::filesystem::perms::owner_exec);
  s.SetName("changed");
  if (::geteuid() != 0) {  // root ignores permissions
    EXPECT_THROW(s.Save(), ESurveyException);
    EXPECT_TRUE(s.Modified());
  }
  std::filesystem::permissions(dir_.path(), std::filesystem::perms::owner_all);
  EXPECT_EQ(ReadFileOrDie(good), before);
}

TEST_F(SurveyFileTest, DateTimeTextThatDoesNotConvertEndsTheBlock) {
  TSurvey t = Loaded(Write("[Details]\nLastUpdated=01/01/2000 10:00:00\nHTMLLastUpdate=01/02/2000\n"
                           "SRServerUpdate=garbage\nRegDate=01/04/2000\n"));
  EXPECT_EQ(t.HTMLLastUpdate(), EncodeDateTime({2000, 1, 2, 0, 0, 0, 0}).value());
  EXPECT_EQ(t.SRServerUpdate(), NeverTime());
  EXPECT_EQ(t.RegDate(), 0);
}

TEST_F(SurveyFileTest, HistoryOfTwoEntriesIsTwoQuotedItems) {
  TSurvey s(settings_);
  s.Clear();
  s.AddHistory("First");
  s.AddHistory("Second, with a comma");
  s.SaveAs(dir_.File("h.qvx"));
  const std::string text = ReadFileOrDie(dir_.File("h.qvx"));
  EXPECT_NE(text.find("PubHistory=\"12/03/1998 14:15:02: First\","
                      "\"12/03/1998 14:15:02: Second, with a comma\"\r\n"),
            std::string::npos);
  EXPECT_EQ(Loaded(dir_.File("h.qvx")).PubHistory(), s.PubHistory());

  TSurvey never(settings_);
  never.Clear();
  never.SaveAs(dir_.File("n.qvx"));
  TSurvey reloaded = Loaded(dir_.File("n.qvx"));
  EXPECT_EQ(reloaded.PubHistory(), "This survey has never been published\r\n");
  // The first real entry replaces the placeholder, loaded or not.
  reloaded.AddHistory("Server verified.");
  EXPECT_EQ(reloaded.PubHistory(), "12/03/1998 14:15:02: Server verified.\r\n");
}

}  // namespace
}  // namespace quorvant
