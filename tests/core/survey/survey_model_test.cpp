#include <gtest/gtest.h>

#include "core/shell/settings_keys.h"
#include "core/survey/survey.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

class SurveyModelTest : public testing::CoreTest {
 protected:
  int Add(TSurvey& s, const std::string& text, int style = kStyleSingleChoice) {
    return s.AddItem(text, style, 1, 10, 0, false, 0, "Yes,No");
  }
  std::string Ids(const TSurvey& s) {
    std::string out;
    for (const TQuestion& q : s.Items()) out += std::to_string(q.ID) + ":" + q.Text + " ";
    return out;
  }
};

TEST_F(SurveyModelTest, NewSurveyTakesCreateValuesAndDefaults) {
  settings_.Write(settings::kDefaultAuthor, "Ann Author");
  settings_.Write(settings::kDefaultOnly1IP, true);
  settings_.Write(settings::kDefaultInstructions, "Line&crlf;two");
  settings_.Write(settings::kDefaultLimitByIP, true);
  TSurvey s(settings_);
  EXPECT_EQ(s.Name(), "(Untitled)");
  EXPECT_EQ(s.FileName(), "Survey1.qvx");
  EXPECT_EQ(s.UniqueName(), "S981203141502");
  EXPECT_EQ(s.Author(), "Ann Author");
  EXPECT_TRUE(s.Only1IP());
  EXPECT_FALSE(s.Only1Email());
  EXPECT_TRUE(s.LimitByIP());
  EXPECT_EQ(s.DisplayTemplate(), "default.qvg");
  EXPECT_EQ(s.InstructionsEscaped(), "Line&crlf;two");  // defaults are taken as stored
  EXPECT_EQ(s.NotifyMessage(), "");
  EXPECT_EQ(s.SRLastUpdate(), "");
  EXPECT_EQ(s.SRServerUpdate(), NeverTime());
  EXPECT_EQ(s.PubHistory(), "This survey has never been published");
  EXPECT_EQ(s.ServerStatus(), "Server not verified");
  EXPECT_EQ(s.SamplingPercent(), 10);
  EXPECT_FALSE(s.Modified());
  EXPECT_EQ(s.LastUpdated(), time());
}

TEST_F(SurveyModelTest, ClearCountsUntitledNamesAndSetsTheInvitation) {
  TSurvey s(settings_);
  Add(s, "q");
  s.SetName("Named");
  s.SetLimitByIP(true);
  s.Clear();
  EXPECT_FALSE(s.LimitByIP());  // no stored default: back to off
  EXPECT_EQ(s.FileName(), "Survey2.qvx");
  EXPECT_EQ(s.Name(), "(Untitled)");
  EXPECT_EQ(s.ItemCount(), 0);
  EXPECT_EQ(s.LastID(), 0);
  EXPECT_EQ(s.SRLastUpdate(), "Never");
  EXPECT_EQ(s.NotifyMessage(), kDefaultNotifyMessage);
  EXPECT_FALSE(s.Modified());
  s.Clear();
  EXPECT_EQ(s.FileName(), "Survey3.qvx");
  // Two surveys made in the same second share their unique name.
  TSurvey other(settings_);
  EXPECT_EQ(other.UniqueName(), s.UniqueName());
}

TEST_F(SurveyModelTest, IdentifiersAreNeverReused) {
  TSurvey s(settings_);
  Add(s, "a");
  Add(s, "b");
  Add(s, "c");
  s.DeleteItem(1);
  Add(s, "d");
  EXPECT_EQ(Ids(s), "1:a 3:c 4:d ");
  EXPECT_EQ(s.LastID(), 4);
  EXPECT_EQ(s.InsertItemAfter(0, "e", kStyleText, 0, 0, 0, false, 80, ""), 1);
  EXPECT_EQ(Ids(s), "1:a 5:e 3:c 4:d ");
  EXPECT_EQ(s.InsertItemAfter(3, "f", kStyleText, 0, 0, 0, false, 80, ""), 4);  // appends
  EXPECT_EQ(Ids(s), "1:a 5:e 3:c 4:d 6:f ");
}

TEST_F(SurveyModelTest, MoveItemChecksBothIndexes) {
  TSurvey s(settings_);
  for (const char* t : {"a", "b", "c", "d"}) Add(s, t);
  EXPECT_TRUE(s.MoveItem(0, 2));
  EXPECT_EQ(Ids(s), "2:b 3:c 1:a 4:d ");
  EXPECT_TRUE(s.MoveItem(3, 0));
  EXPECT_EQ(Ids(s), "4:d 2:b 3:c 1:a ");
  s.SetModified(false);
  EXPECT_FALSE(s.MoveItem(4, 0));
  EXPECT_FALSE(s.MoveItem(0, -1));
  EXPECT_EQ(Ids(s), "4:d 2:b 3:c 1:a ");
  EXPECT_FALSE(s.Modified());
}

TEST_F(SurveyModelTest, UpdatesKeepIdentityChartsAndSkipFields) {
  TSurvey s(settings_);
  Add(s, "a");
  s.Item(0).SkipGroupOfResponse = 1;
  s.UpdateChartSettings(0, 3, false, 2, false, 4, 45);
  s.UpdateItem(0, "A", kStyleMultipleChoice, 2, 9, 1, true, 5, "x");
  const TQuestion& q = s.Item(0);
  EXPECT_EQ(q.ID, 1);
  EXPECT_EQ(q.Text, "A");
  EXPECT_EQ(q.Style, kStyleMultipleChoice);
  EXPECT_EQ(q.StepValue, 2);
  EXPECT_EQ(q.MaxValue, 9);
  EXPECT_EQ(q.MinValue, 1);
  EXPECT_TRUE(q.IncludeOther);
  EXPECT_EQ(q.LengthOfResponse, 5);
  EXPECT_EQ(q.Options, "x");
  EXPECT_EQ(q.ChartType, 3);
  EXPECT_EQ(q.Rotation, 45);
  EXPECT_EQ(q.SkipGroupOfResponse, 1);
}

TEST_F(SurveyModelTest, SettersStampAndMarkModified) {
  TSurvey s(settings_);
  SetTime({2001, 2, 3, 4, 5, 6, 0});
  s.SetName("x");
  EXPECT_TRUE(s.Modified());
  EXPECT_EQ(s.LastUpdated(), time());

  const TDateTime earlier = EncodeDateTime({2000, 5, 5, 5, 5, 5, 0}).value();
  s.SetLastUpdated(earlier);  // the value given, not now
  EXPECT_EQ(s.LastUpdated(), earlier);

  s.SetModified(false);
  SetTime({2002, 1, 1, 0, 0, 1, 0});
  s.SetHTMLLastUpdate(time());  // marks modified, leaves LastUpdated
  EXPECT_TRUE(s.Modified());
  EXPECT_NE(s.LastUpdated(), time());
}

// Handing back what the survey holds, as the windows do when they are only
// looked at, is no change.
TEST_F(SurveyModelTest, OnlyADifferentValueIsAChange) {
  TSurvey s(settings_);
  Add(s, "a");
  s.UpdateChartSettings(0, 3, false, 2, false, 4, 45);
  s.SetName("x");
  s.SetServerStatus("Server verified at 12/03/1998 14:15:02");
  s.SetModified(false);
  const TDateTime stamp = s.LastUpdated();
  SetTime({2002, 1, 1, 0, 0, 1, 0});
  s.UpdateChartSettings(0, 3, false, 2, false, 4, 45);
  s.SetName("x");
  s.SetServerStatus("Server verified at 12/03/1998 14:15:02");
  s.SetSRResponseCount(s.SRResponseCount());
  EXPECT_FALSE(s.Modified());
  EXPECT_EQ(s.LastUpdated(), stamp);
  s.UpdateChartSettings(0, 3, false, 2, false, 4, 46);
  EXPECT_TRUE(s.Modified());
  EXPECT_EQ(s.Item(0).Rotation, 46);
  s.SetModified(false);
  s.SetName("y");
  EXPECT_TRUE(s.Modified());
}

TEST_F(SurveyModelTest, EscapedTexts) {
  TSurvey s(settings_);
  s.SetInstructions("a\r\nb");
  EXPECT_EQ(s.InstructionsEscaped(), "a&crlf;b");
  EXPECT_EQ(s.Instructions(), "a\rb");
  s.SetFinalComments("typed &crlf; literally\nand a lone line feed");
  EXPECT_EQ(s.FinalCommentsEscaped(), "typed &crlf; literally&crlf;and a lone line feed");
  EXPECT_EQ(s.FinalComments(), "typed \r literally\rand a lone line feed");
}

TEST_F(SurveyModelTest, HistoryAndRegistration) {
  TSurvey s(settings_);
  s.AddHistory("X");
  EXPECT_EQ(s.PubHistory(), "12/03/1998 14:15:02: X\r\n");
  SetTime({1998, 12, 4, 0, 0, 0, 0});
  s.AddHistory("Y");
  EXPECT_EQ(s.PubHistory(), "12/03/1998 14:15:02: X\r\n12/04/1998: Y\r\n");

  TSurvey r(settings_);
  r.SetRegDate(0);
  EXPECT_EQ(r.PubHistory(), "This survey has never been published");
  r.SetRegDate(time());
  EXPECT_EQ(r.PubHistory(), "12/04/1998: Survey registered with server\r\n");
  EXPECT_EQ(r.RegDate(), time());
}

TEST_F(SurveyModelTest, EffectiveServerAndLastUpdateText) {
  TSurvey s(settings_);
  s.SetServerURL("http://mine.example/qvx");
  EXPECT_EQ(s.EffectiveServerURL(), "http://mine.example/qvx");
  s.SetProcessResponses(1);
  EXPECT_TRUE(s.EffectiveServerURL().ends_with("/qvx.dll"));
  EXPECT_NE(s.EffectiveServerURL(), s.ServerURL());
  s.SetSRLastUpdate("Never updated");
  EXPECT_EQ(s.SRLastUpdate(), "Never");
  s.SetSRLastUpdate("20240101120000");
  EXPECT_EQ(s.SRLastUpdate(), "20240101120000");
}

}  // namespace
}  // namespace quorvant
