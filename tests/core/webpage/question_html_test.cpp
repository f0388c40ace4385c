// Golden tests of the HTML written for each item style and layout switch.
#include "core/webpage/question_html.h"

#include <gtest/gtest.h>

#include <regex>

#include "core/shell/text_helpers.h"
#include "core/survey/question_list.h"
#include "core/survey/survey.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

constexpr char kMarker[] = "<SPAN CLASS=\"qvxrequired\" TITLE=\"Answer required\"> *</SPAN>";

struct Switches {
  bool gotos = false;
  bool bold = false;
  bool style2 = false;
};

struct HtmlCase {
  const char* name;
  int style;
  const char* options;  // comma text
  bool other;
  int length;
  Switches switches;
  const char* expected;
};

TQuestion Question(int id, int style, const char* text, const char* options = "") {
  TQuestion q;
  q.ID = id;
  q.Style = style;
  q.Text = text;
  q.Options = options;
  return q;
}

class QuestionHtmlTest : public testing::CoreTest {
 protected:
  void SetSwitches(const Switches& s) {
    survey_.IncludeGotos = s.gotos;
    survey_.BoldQuestions = s.bold;
    survey_.QStyle2 = s.style2;
  }
  TSurvey survey_{settings_};
};

// One question, ID 7, label "3", the third question (k = 3), followed by a
// Numeric question so that it is not the last item.
const HtmlCase kCases[] = {
    {"single choice",
     kStyleSingleChoice,
     "Yes,No",
     false,
     0,
     {},
     "3) Smoke?<p>\r\n<UL>\r\n"
     "<INPUT TYPE=\"RADIO\" NAME=\"qvx7\" VALUE=\"0\">Yes<br>"
     "<INPUT TYPE=\"RADIO\" NAME=\"qvx7\" VALUE=\"1\">No<br>"
     "</UL><p>\r\n<A NAME=\"Question4\"></A>"},
    {"single choice, tilde, other, bold",
     kStyleSingleChoice,
     "\"Strongly agree~SA\",No~N",
     true,
     0,
     {.bold = true},
     "<B>3) Smoke?</B><p>\r\n<UL>\r\n"
     "<INPUT TYPE=\"RADIO\" NAME=\"qvx7\" VALUE=\"0\">Strongly agree<br>"
     "<INPUT TYPE=\"RADIO\" NAME=\"qvx7\" VALUE=\"1\">No<br>"
     "<br>\r\n<INPUT TYPE=\"RADIO\" NAME=\"qvx7\" VALUE=\"Other\">Other (Please specify):&nbsp;\r\n"
     "<INPUT TYPE=\"TEXT\" NAME=\"qvx7Other\" SIZE=40 MAXLENGTH=40>\r\n"
     "</UL><p>\r\n<A NAME=\"Question4\"></A>"},
    {"single choice, compact layout keeps the list but drops the number",
     kStyleSingleChoice,
     "Yes",
     false,
     0,
     {.style2 = true},
     "Smoke?<p>\r\n<UL>\r\n<INPUT TYPE=\"RADIO\" NAME=\"qvx7\" VALUE=\"0\">Yes<br>"
     "</UL><p>\r\n<A NAME=\"Question4\"></A>"},
    {"multiple choice with other and go-to links",
     kStyleMultipleChoice,
     "Tea,Coffee,Water",
     true,
     0,
     {.gotos = true},
     "3) Smoke?<p>\r\n<UL>\r\n"
     "<INPUT TYPE=\"CHECKBOX\" NAME=\"qvx7-0\" VALUE=\"1\">Tea<br>"
     "<INPUT TYPE=\"CHECKBOX\" NAME=\"qvx7-1\" VALUE=\"1\">Coffee<br>"
     "<INPUT TYPE=\"CHECKBOX\" NAME=\"qvx7-2\" VALUE=\"1\">Water<br>"
     "<br>\r\n<INPUT TYPE=\"CHECKBOX\" NAME=\"qvx7\" VALUE=\"Other\">Other (Please specify):&nbsp;"
     "\r\n<INPUT TYPE=\"TEXT\" NAME=\"qvx7Other\" SIZE=40 MAXLENGTH=40>\r\n</UL><p>\r\n"
     "<SMALL>[ <A HREF=\"#Question4\">Go to next question</A> ]</SMALL><p>"
     "<p>&nbsp;<p>&nbsp;<p>&nbsp;<p>&nbsp;<p>&nbsp;<p>&nbsp;<p>&nbsp;<p>&nbsp;<p>&nbsp;<p>&nbsp;"
     "<p>&nbsp;<p>&nbsp;<p>&nbsp;<p>&nbsp;<p>&nbsp;<p>&nbsp;<p>&nbsp;<p>&nbsp;<p>&nbsp;<p>&nbsp;"
     "<p>&nbsp;<p>&nbsp;<p>&nbsp;<p>&nbsp;<p>&nbsp;<p>&nbsp;<p>&nbsp;<p>&nbsp;<p>&nbsp;<p>&nbsp;"
     "<p>&nbsp;<p>&nbsp;<p>&nbsp;<p>&nbsp;<p>&nbsp;<p>&nbsp;<p>&nbsp;<p>&nbsp;<p>&nbsp;<p>&nbsp;"
     "<A NAME=\"Question4\"></A>"},
    {"sliding scale",
     kStyleSlidingScale,
     "Low~1,High~2",
     false,
     0,
     {},
     "3) Smoke?<p>\r\n<UL>\r\n"
     "<INPUT TYPE=\"RADIO\" NAME=\"qvx7\" VALUE=\"0\">Low&nbsp;&nbsp;"
     "<INPUT TYPE=\"RADIO\" NAME=\"qvx7\" VALUE=\"1\">High&nbsp;&nbsp;"
     "</UL><p>\r\n<A NAME=\"Question4\"></A>"},
    {"sliding scale with other",
     kStyleSlidingScale,
     "Low",
     true,
     0,
     {},
     "3) Smoke?<p>\r\n<UL>\r\n<INPUT TYPE=\"RADIO\" NAME=\"qvx7\" VALUE=\"0\">Low&nbsp;&nbsp;"
     "<br>\r\n<INPUT TYPE=\"RADIO\" NAME=\"qvx7\" VALUE=\"Other\">Other (Please specify):&nbsp;\r\n"
     "<INPUT TYPE=\"TEXT\" NAME=\"qvx7Other\" SIZE=40 MAXLENGTH=40>\r\n"
     "</UL><p>\r\n<A NAME=\"Question4\"></A>"},
    {"compact sliding scale: the scale, then the statement; no trailer",
     kStyleSlidingScale,
     "Low,High",
     false,
     0,
     {.style2 = true},
     "<INPUT TYPE=\"RADIO\" NAME=\"qvx7\" VALUE=\"0\">Low&nbsp;&nbsp;"
     "<INPUT TYPE=\"RADIO\" NAME=\"qvx7\" VALUE=\"1\">High&nbsp;&nbsp;"
     "&nbsp;&nbsp;&nbsp;Smoke?<br>\r\n"},
    {"compact sliding scale with other and bold question",
     kStyleSlidingScale,
     "Low",
     true,
     0,
     {.bold = true, .style2 = true},
     "<B>3) Smoke?</B><p>\r\n"
     "<INPUT TYPE=\"RADIO\" NAME=\"qvx7\" VALUE=\"0\">Low&nbsp;&nbsp;&nbsp;&nbsp;"
     "<INPUT TYPE=\"RADIO\" NAME=\"qvx7\" VALUE=\"Other\">Other (Please specify):&nbsp;"
     "<INPUT TYPE=\"TEXT\" NAME=\"qvx7Other\" SIZE=40 MAXLENGTH=40>\r\n"
     "&nbsp;&nbsp;&nbsp;Smoke?<br>\r\n"},
    {"text of 100 characters",
     kStyleText,
     "",
     false,
     100,
     {},
     "3) Smoke?<p>\r\n<UL>\r\n<INPUT TYPE=\"TEXT\" NAME=\"qvx7\" SIZE=40 MAXLENGTH=100>\r\n"
     "</UL><p>\r\n<A NAME=\"Question4\"></A>"},
    {"text of 20 characters",
     kStyleText,
     "",
     false,
     20,
     {},
     "3) Smoke?<p>\r\n<UL>\r\n<INPUT TYPE=\"TEXT\" NAME=\"qvx7\" SIZE=20 MAXLENGTH=20>\r\n"
     "</UL><p>\r\n<A NAME=\"Question4\"></A>"},
    {"text of 0 characters",
     kStyleText,
     "",
     false,
     0,
     {},
     "3) Smoke?<p>\r\n<UL>\r\n<INPUT TYPE=\"TEXT\" NAME=\"qvx7\" SIZE=0 MAXLENGTH=0>\r\n"
     "</UL><p>\r\n<A NAME=\"Question4\"></A>"},
    {"verbose text",
     kStyleText,
     "",
     false,
     -1,
     {},
     "3) Smoke?<p>\r\n<UL>\r\n<TEXTAREA NAME=\"qvx7\" ROWS=4 COLS=40>\r\n</TEXTAREA>\r\n"
     "</UL><p>\r\n<A NAME=\"Question4\"></A>"},
    {"pulldown: no paragraph break, an unopened list closed",
     kStylePulldown,
     "Mon,Tue",
     false,
     0,
     {},
     "3) Smoke?\r\n<SELECT NAME=\"qvx7\">\r\n    <OPTION VALUE=\" \" SELECTED>  \r\n"
     "    <OPTION VALUE=\"0\">Mon\r\n    <OPTION VALUE=\"1\">Tue\r\n</SELECT>\r\n</UL><p>\r\n"
     "<A NAME=\"Question4\"></A>"},
    {"pulldown, bold",
     kStylePulldown,
     "Mon",
     false,
     0,
     {.bold = true},
     "<B>3) Smoke?</B>\r\n<SELECT NAME=\"qvx7\">\r\n    <OPTION VALUE=\" \" SELECTED>  \r\n"
     "    <OPTION VALUE=\"0\">Mon\r\n</SELECT>\r\n</UL><p>\r\n<A NAME=\"Question4\"></A>"},
    {"pulldown, compact",
     kStylePulldown,
     "Mon",
     false,
     0,
     {.bold = true, .style2 = true},
     "<SELECT NAME=\"qvx7\">\r\n    <OPTION VALUE=\" \" SELECTED>  \r\n"
     "    <OPTION VALUE=\"0\">Mon\r\n</SELECT>&nbsp;&nbsp;&nbsp;Smoke?<br>\r\n"},
    {"pulldown with other",
     kStylePulldown,
     "Mon",
     true,
     0,
     {},
     "3) Smoke?<p>\r\n<UL>\r\n<SELECT NAME=\"qvx7\">\r\n    <OPTION VALUE=\" \" SELECTED>  \r\n"
     "    <OPTION VALUE=\"0\">Mon\r\n    <OPTION VALUE=\"Other\">Other\r\n</SELECT><p>\r\n"
     "If you selected other please specify:<br>\r\n"
     "<INPUT TYPE=\"TEXT\" NAME=\"qvx7Other\" SIZE=40 MAXLENGTH=40>\r\n</UL><p>\r\n"
     "<A NAME=\"Question4\"></A>"},
    {"pulldown with other, compact: question line kept, no trailer",
     kStylePulldown,
     "Mon",
     true,
     0,
     {.style2 = true},
     "Smoke?<p>\r\n<UL>\r\n<SELECT NAME=\"qvx7\">\r\n    <OPTION VALUE=\" \" SELECTED>  \r\n"
     "    <OPTION VALUE=\"0\">Mon\r\n    <OPTION VALUE=\"Other\">Other\r\n</SELECT><p>\r\n"
     "If you selected other please specify:<br>\r\n"
     "<INPUT TYPE=\"TEXT\" NAME=\"qvx7Other\" SIZE=40 MAXLENGTH=40>\r\n</UL><p>\r\n"},
    {"numeric",
     kStyleNumeric,
     "",
     false,
     0,
     {},
     "3) Smoke?<p>\r\n<UL>\r\n<INPUT TYPE=\"TEXT\" NAME=\"qvx7\" SIZE=5 MAXLENGTH=5>\r\n"
     "</UL><p>\r\n<A NAME=\"Question4\"></A>"},
    {"header", kStyleHeader, "", false, 0, {.gotos = true, .bold = true}, "<H3>Smoke?</H3><p>\r\n"},
    {"style code 0 renders as a header", 0, "Yes", false, 0, {}, "<H3>Smoke?</H3><p>\r\n"},
    {"style code 9 renders as a header", 9, "Yes", false, 0, {}, "<H3>Smoke?</H3><p>\r\n"},
};

TEST_F(QuestionHtmlTest, EveryStyleAndSwitch) {
  for (const HtmlCase& c : kCases) {
    SCOPED_TRACE(c.name);
    survey_.Clear();
    TQuestion q = Question(7, c.style, "Smoke?", c.options);
    q.IncludeOther = c.other;
    q.LengthOfResponse = c.length;
    q.DisplayNumber = "3";
    survey_.AddLoadedItem(q);
    survey_.AddLoadedItem(Question(8, kStyleNumeric, "Age?"));
    SetSwitches(c.switches);
    EXPECT_EQ(RenderQuestionHtml(survey_, 0, 3), c.expected);
  }
}

// The same cases with the question required: every input but a check box
// carries REQUIRED (the Other text box too is left free), a list starts on an
// empty value, and the text gets the marker; a header ignores the flag. With
// the answer check on instead, nothing but a Numeric box changes.
TEST_F(QuestionHtmlTest, RequiredAndCheckedFormsOfEveryCase) {
  const std::regex answer_input(
      "<(INPUT TYPE=\"(RADIO|TEXT)\" NAME=\"qvx7\"[^>]*|TEXTAREA[^>]*|SELECT[^>]*)>");
  for (const HtmlCase& c : kCases) {
    SCOPED_TRACE(c.name);
    const bool question = c.style >= kStyleSingleChoice && c.style <= kStyleNumeric;
    std::string required = c.expected;
    if (question) {
      required = std::regex_replace(required, answer_input, "<$1 REQUIRED>");
      required =
          ReplaceAll(required, "<OPTION VALUE=\" \" SELECTED>", "<OPTION VALUE=\"\" SELECTED>");
      required = ReplaceAll(required, "Smoke?", "Smoke?" + std::string(kMarker));
    }
    for (const bool check : {false, true}) {
      survey_.Clear();
      survey_.SetCheckAnswers(check);
      TQuestion q = Question(7, c.style, "Smoke?", c.options);
      q.IncludeOther = c.other;
      q.LengthOfResponse = c.length;
      q.DisplayNumber = "3";
      q.Required = !check;
      survey_.AddLoadedItem(q);
      survey_.AddLoadedItem(Question(8, kStyleNumeric, "Age?"));
      SetSwitches(c.switches);
      if (check && c.style == kStyleNumeric) continue;
      EXPECT_EQ(RenderQuestionHtml(survey_, 0, 3), check ? c.expected : required);
    }
  }
}

TEST_F(QuestionHtmlTest, CheckedNumericBoxTakesWholeNumbersOfItsRange) {
  survey_.SetCheckAnswers(true);
  TQuestion q = Question(7, kStyleNumeric, "Age?");
  q.MinValue = 18;
  q.MaxValue = 120;
  q.DisplayNumber = "3";
  survey_.AddLoadedItem(q);
  q.ID = 8;
  q.MinValue = 9;  // reversed: left to the collection rules
  q.MaxValue = 2;
  q.Required = true;
  survey_.AddLoadedItem(q);
  EXPECT_EQ(RenderQuestionHtml(survey_, 0, 3) + RenderQuestionHtml(survey_, 1, 4),
            "3) Age?<p>\r\n<UL>\r\n"
            "<INPUT TYPE=\"NUMBER\" NAME=\"qvx7\" MIN=\"18\" MAX=\"120\" STEP=\"1\">\r\n"
            "</UL><p>\r\n<A NAME=\"Question4\"></A>"
            "3) Age?" +
                std::string(kMarker) +
                "<p>\r\n<UL>\r\n"
                "<INPUT TYPE=\"NUMBER\" NAME=\"qvx8\" STEP=\"1\" REQUIRED>\r\n"
                "</UL><p>\r\n<A NAME=\"Question5\"></A>");
}

TEST_F(QuestionHtmlTest, CompactHeadersBreakOnlyAfterOneLineQuestions) {
  SetSwitches({.style2 = true});
  survey_.AddLoadedItem(Question(1, kStyleHeader, "A"));
  survey_.AddLoadedItem(Question(2, kStyleSlidingScale, "Scale", "x"));
  survey_.AddLoadedItem(Question(3, kStyleHeader, "B"));
  survey_.AddLoadedItem(Question(4, kStylePulldown, "List", "x"));
  survey_.AddLoadedItem(Question(5, 8, "C"));
  survey_.AddLoadedItem(Question(6, kStyleText, "Text"));
  survey_.AddLoadedItem(Question(7, kStyleHeader, "D"));
  EXPECT_EQ(RenderQuestionHtml(survey_, 0, 0), "<B>A</B><p>\r\n");
  EXPECT_EQ(RenderQuestionHtml(survey_, 2, 1), "<p><B>B</B><p>\r\n");
  EXPECT_EQ(RenderQuestionHtml(survey_, 4, 2), "<p><B>C</B><p>\r\n");
  EXPECT_EQ(RenderQuestionHtml(survey_, 6, 3), "<B>D</B><p>\r\n");
}

TEST_F(QuestionHtmlTest, TrailerOfTheLastItemLinksToTheEnd) {
  survey_.AddLoadedItem(Question(1, kStyleNumeric, "Age?"));
  EXPECT_EQ(QuestionTrailer(survey_, 0, 1), "<A NAME=\"Question2\"></A>");
  survey_.IncludeGotos = true;
  const std::string trailer = QuestionTrailer(survey_, 0, 1);
  EXPECT_TRUE(trailer.starts_with("<SMALL>[ <A HREF=\"#EndOfSurvey\">Go to End</A> ]</SMALL><p>"));
  EXPECT_TRUE(trailer.ends_with("<p>&nbsp;<p>&nbsp;")) << "no anchor after the last item";
  EXPECT_EQ(
      trailer.size(),
      std::string("<SMALL>[ <A HREF=\"#EndOfSurvey\">Go to End</A> ]</SMALL><p>").size() + 40 * 9);
}

// A head (Q1: Yes, No; No skips) and its group (Q1a, Q1b) before Q2.
class SkipLinkTest : public QuestionHtmlTest {
 protected:
  void Build(bool group_runs_to_end) {
    TQuestion head = Question(1, kStyleSingleChoice, "Q1", "Yes,No");
    head.SkipGroupOfResponse = 1;
    survey_.AddLoadedItem(head);
    for (int id : {2, 3}) {
      TQuestion member = Question(id, kStyleNumeric, id == 2 ? "Q1a" : "Q1b");
      member.SkipGroupOfQuestion = 1;
      survey_.AddLoadedItem(member);
    }
    if (!group_runs_to_end) survey_.AddLoadedItem(Question(4, kStyleNumeric, "Q2"));
    RebuildQuestionList(survey_);
    survey_.IncludeGotos = true;
  }
};

TEST_F(SkipLinkTest, OptionsLinkToTheNextQuestionAndPastTheGroup) {
  Build(false);
  const std::string html = RenderQuestionHtml(survey_, 0, 1);
  EXPECT_EQ(html.substr(0, html.find("<p>&nbsp;")),
            "1) Q1<p>\r\n<UL>\r\n<INPUT TYPE=\"RADIO\" NAME=\"qvx1\" VALUE=\"0\">Yes"
            "<SMALL>&nbsp;&nbsp;&nbsp;<A HREF=\"#Question2\">If Yes then go to 1a</A></SMALL><br>"
            "<INPUT TYPE=\"RADIO\" NAME=\"qvx1\" VALUE=\"1\">No"
            "<SMALL>&nbsp;&nbsp;&nbsp;<A HREF=\"#Question4\">If No then go to 2</A></SMALL><br>"
            "</UL><p>\r\n");
  EXPECT_TRUE(html.ends_with("<p>&nbsp;<A NAME=\"Question2\"></A>")) << "a head has no next link";
  EXPECT_TRUE(RenderQuestionHtml(survey_, 2, 3).ends_with("<A NAME=\"Question4\"></A>"));
}

TEST_F(SkipLinkTest, AGroupRunningToTheEndLinksToTheEnd) {
  Build(true);
  const std::string html = RenderQuestionHtml(survey_, 0, 1);
  EXPECT_NE(html.find("No<SMALL>&nbsp;&nbsp;&nbsp;<A HREF=\"#EndOfSurvey\">Go to End</A></SMALL>"
                      "<br>"),
            std::string::npos);
}

TEST_F(SkipLinkTest, AHeadThatIsTheLastItemLinksItsOtherOptionsToTheEnd) {
  TQuestion head = Question(1, kStyleSingleChoice, "Q1", "Yes,No");
  head.SkipGroupOfResponse = 1;
  head.DisplayNumber = "1";
  survey_.AddLoadedItem(head);
  survey_.IncludeGotos = true;
  const std::string html = RenderQuestionHtml(survey_, 0, 1);
  EXPECT_NE(html.find("Yes<SMALL>&nbsp;&nbsp;&nbsp;<A HREF=\"#Question2\">If Yes then go to End"
                      "</A></SMALL><br>"),
            std::string::npos);
}

TEST_F(SkipLinkTest, AStaleGroupSizeBeyondTheListLinksToTheEnd) {
  Build(false);
  survey_.Item(0).GroupSize = 40;
  const std::string html = RenderQuestionHtml(survey_, 0, 1);
  EXPECT_NE(html.find("<A HREF=\"#EndOfSurvey\">Go to End</A>"), std::string::npos);
}

}  // namespace
}  // namespace quorvant
