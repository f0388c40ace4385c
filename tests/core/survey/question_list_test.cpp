#include "core/survey/question_list.h"

#include <gtest/gtest.h>

#include "core/survey/comma_text.h"
#include "core/survey/survey.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

class QuestionListTest : public testing::CoreTest {
 protected:
  // Prints the list: one line per item with its number, group size and detail.
  std::string Render(TSurvey& s) {
    const QuestionListing listing = RebuildQuestionList(s);
    std::string out;
    for (const QuestionListLine& l : listing.lines) {
      const TQuestion& q = s.Item(l.item_index);
      out += (l.in_skip_group ? "  " : "") + l.line + " [" + q.DisplayNumber + "," +
             std::to_string(q.GroupSize) + "]";
      if (!l.detail.empty()) out += " / " + l.detail;
      out += "\n";
    }
    out += "analysis:";
    for (int i : listing.analysis_items) out += " " + std::to_string(i);
    return out;
  }
  int Question(TSurvey& s, const std::string& text, int skip_of = -1) {
    const int i = s.AddItem(text, kStyleSingleChoice, 1, 0, 0, false, 0,
                            JoinCommaText({"Yes", "No~N"}));
    s.Item(i).SkipGroupOfQuestion = skip_of;
    return i;
  }
};

TEST_F(QuestionListTest, NumbersHeadersAndSkipGroups) {
  TSurvey s(settings_);
  s.AddItem("Welcome", kStyleHeader, 0, 0, 0, false, 0, "");
  const int head = Question(s, "Smoke?");
  s.Item(head).SkipGroupOfResponse = 1;
  Question(s, "How many?", s.Item(head).ID);
  Question(s, "Since when?", s.Item(head).ID);
  s.AddItem("Age", kStyleNumeric, 5, 99, 18, false, 0, "");
  s.AddItem("Comments", kStyleText, 0, 0, 0, false, -1, "");
  s.AddItem("Name", kStyleText, 0, 0, 0, false, 40, "");
  EXPECT_EQ(Render(s),
            "Welcome [1,-1]\n"
            "1) Smoke? [1,3] / Response Options: Yes, N (skip following group)\n"
            "  1a) How many? [1a,-1] / Response Options: Yes, N\n"
            "  1b) Since when? [1b,-1] / Response Options: Yes, N\n"
            "2) Age [2,-1] / Range of 18 to 99, step 5\n"
            "3) Comments [3,-1] / Verbose text response\n"
            "4) Name [4,-1] / Text response limited to 40 characters\n"
            "analysis: 1 2 3 4 5 6");
}

TEST_F(QuestionListTest, GroupRunningToTheEndHasSizeMinusOne) {
  TSurvey s(settings_);
  const int head = Question(s, "Head");
  s.Item(head).GroupSize = 7;
  Question(s, "Member", s.Item(head).ID);
  EXPECT_EQ(Render(s),
            "1) Head [1,-1] / Response Options: Yes, N\n"
            "  1a) Member [1a,-1] / Response Options: Yes, N\n"
            "analysis: 0 1");
}

TEST_F(QuestionListTest, TwoTouchingGroupsAndAMemberWithoutHead) {
  TSurvey s(settings_);
  Question(s, "Orphan member", 99);  // first item: there is no head before it
  const int a = Question(s, "A");
  Question(s, "A1", s.Item(a).ID);
  const int b = Question(s, "B");
  Question(s, "B1", s.Item(b).ID);
  Question(s, "B2", s.Item(b).ID);
  Question(s, "C");
  const std::string out = Render(s);
  EXPECT_EQ(s.Item(a).GroupSize, 2);
  EXPECT_EQ(s.Item(b).GroupSize, 3);
  EXPECT_NE(out.find("  0a) Orphan member"), std::string::npos);
  EXPECT_NE(out.find("  2b) B2"), std::string::npos);
}

TEST_F(QuestionListTest, OtherStylesHaveNoDetail) {
  TSurvey s(settings_);
  s.AddItem("Odd", 0, 0, 0, 0, false, 0, "x");
  s.AddItem("Odder", 12, 0, 0, 0, false, 0, "x");
  EXPECT_EQ(Render(s), "1) Odd [1,-1]\n2) Odder [2,-1]\nanalysis: 0 1");
}

// Options are quoted comma text; the detail shows each one's part after its
// first "~", commas and blanks inside an option included.
TEST_F(QuestionListTest, DetailLinesOfEachStyle) {
  TQuestion q;
  q.Style = kStylePulldown;
  q.Options = JoinCommaText({"a b~x, y", "~", "plain", "1~2~3"});
  q.SkipGroupOfResponse = 2;
  EXPECT_EQ(DetailLineFor(q), "Response Options: x, y, , plain (skip following group), 2~3");
  q.Options.clear();
  EXPECT_EQ(DetailLineFor(q), "Response Options: ");
  q.Style = kStyleText;
  q.LengthOfResponse = 40;
  EXPECT_EQ(DetailLineFor(q), "Text response limited to 40 characters");
  q.LengthOfResponse = -1;
  EXPECT_EQ(DetailLineFor(q), "Verbose text response");
  q.Style = kStyleNumeric;
  q.MinValue = 0;
  q.MaxValue = 120;
  q.StepValue = 15;
  EXPECT_EQ(DetailLineFor(q), "Range of 0 to 120, step 15");
}

}  // namespace
}  // namespace quorvant
