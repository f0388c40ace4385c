// The web report's pages: file names from the survey's name and the items'
// positions, the index with and without a filter, text and Other answers
// read through the filter, respondents' markup escaped, and the failures
// that must be told (missing directory, a file that cannot be written).
#include "core/reports/web_report.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <random>

#include "core/analysis/filter_condition.h"
#include "core/analysis/result_counting.h"
#include "core/reports/answer_list.h"
#include "core/responses/response_table.h"
#include "core/shell/atomic_file.h"
#include "core/shell/text_helpers.h"
#include "core/survey/comma_text.h"
#include "core/survey/question_list.h"
#include "core/survey/survey.h"
#include "support/scripted_prompts.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

using Lines = std::vector<std::string>;

class WebReportTest : public testing::CoreTest {
 protected:
  WebReportTest() {
    survey_.SetFileName(dir_.File("P.qvx"));
    survey_.SetName("Health <i>2026</i>");
    survey_.SetAuthor("Ann");
    survey_.AddItem("About you", kStyleHeader, 0, 0, 0, false, 0, "");
    survey_.AddItem("Smoke?", kStyleSingleChoice, 0, 0, 0, true, 0,
                    JoinCommaText({"Y~Yes", "N~No"}));
    survey_.AddItem("Why?", kStyleText, 0, 0, 0, false, -1, "");
    survey_.AddItem("Name", kStyleText, 0, 0, 0, false, 20, "");
    survey_.AddItem("Age", kStyleNumeric, 10, 90, 10, false, 0, "");
    TResponseTable responses(prompts_);
    EXPECT_TRUE(responses.Create(survey_));
    struct Row {
      const char *choice, *other, *memo, *name, *age;
    };
    const Row rows[] = {{"0", "", "  because  ", " Bo ", "25"},
                        {"Oth", "<b>pipe</b>", "   ", "", "33"},
                        {"1", "cigar", "", "Cy", "41"},
                        {"0", "", "<script>x()</script>", "Di", "70"}};
    for (const Row& r : rows) {
      responses.table().Append({{"QVX2", r.choice},
                                {"QVX2OT", r.other},
                                {"QVX3", r.memo},
                                {"QVX4", r.name},
                                {"QVX5", r.age}});
    }
    responses.Close();
    table_.Open(survey_);
    survey_.SetSRResponseCount(4);
    listing_ = RebuildQuestionList(survey_);
  }

  void Count() { ASSERT_TRUE(ComputeResults(survey_, table_, prompts_)); }
  Lines Page(int item, bool part = true, Table* table = nullptr) {
    return QuestionPageLines(survey_, table ? table : &table_.table(), names_, item, part);
  }
  // The lines between the fixed head (two lines, title, back link) and the
  // last line.
  static Lines Body(const Lines& page) { return Lines(page.begin() + 4, page.end() - 1); }

  TSurvey survey_{settings_};
  testing::ScriptedPrompts prompts_;
  TResponseTable table_{prompts_};
  QuestionListing listing_;
  WebReportNames names_{dir_.path(), "/x/y/ P.qvx", ".htm"};
};

TEST_F(WebReportTest, NamesFollowTheFileNameAndItemPositions) {
  EXPECT_EQ(names_.base, "P");
  EXPECT_EQ(names_.IndexPath(), dir_.path() + "/P.htm");
  EXPECT_EQ(names_.PagePath(3), dir_.path() + "/P3.htm");
  EXPECT_EQ(names_.ImagePath(3), dir_.path() + "/P3.jpg");
  EXPECT_EQ(names_.ImageLink(3), "P3.jpg");
  const WebReportNames slash("/d/", "a.b.qvx", ".html");
  EXPECT_EQ(slash.PagePath(0), "/d/a.b0.html");

  // The header at position 0 gets no page; the first question's page is P1.
  Count();
  std::vector<std::string> charted;
  WebReportHooks hooks;
  hooks.write_chart = [&](int item, const std::string& path) {
    charted.push_back(path);
    return WriteFileAtomically(path, "jpeg of " + std::to_string(item));
  };
  const WebReportResult r =
      WriteWebReport(survey_, &table_.table(), names_, listing_.analysis_items, hooks);
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.opened, names_.IndexPath());
  EXPECT_EQ(charted, (std::vector<std::string>{names_.ImagePath(1), names_.ImagePath(4)}));
  EXPECT_FALSE(FileExists(dir_.File("P0.htm")));
  for (int i = 1; i <= 4; ++i) EXPECT_TRUE(FileExists(dir_.File("P" + std::to_string(i) + ".htm")));
  const std::string page = testing::ReadFileOrDie(dir_.File("P1.htm"));
  EXPECT_EQ(page.substr(0, 2 + page.find("\r\n")),
            "<HTML><HEAD><META charset=\"utf-8\"><TITLE>Quorvant Analysis</TITLE></HEAD>"
            "<BODY bgcolor=\"#FFFFFF\">\r\n");
  // Every page says its encoding in its head.
  for (const std::string name : {"P.htm", "P1.htm", "P2.htm", "P3.htm", "P4.htm"}) {
    const std::string text = testing::ReadFileOrDie(dir_.File(name));
    const size_t meta = text.find("<META charset=\"utf-8\">");
    EXPECT_TRUE(meta != std::string::npos && meta < text.find("</HEAD>")) << name;
  }
  EXPECT_EQ(r.written, "The web report was written to the folder " + dir_.path() +
                           " (5 pages); its index page is " + names_.IndexPath() + ".");
  EXPECT_NE(page.find("\r\n<IMG SRC=\"P1.jpg\" BORDER=0>\r\n"), std::string::npos);
  EXPECT_EQ(page.find('\n'), page.find("\r\n") + 1);
  EXPECT_TRUE(page.ends_with("</FONT></BODY></HTML>\r\n"));
}

TEST_F(WebReportTest, IndexNamesTheSurveyAndTheFilter) {
  Count();
  Lines index = IndexPageLines(survey_, names_, listing_.analysis_items);
  ASSERT_EQ(index.size(), 11u);
  EXPECT_EQ(index[1], "<FONT FACE=\"Verdana, Arial, Helvetica\" SIZE=\"-1\">");
  EXPECT_EQ(index[2], "<H2>Survey: Health <i>2026</i></H2>");
  EXPECT_EQ(index[3], "<B>Author: Ann</B><br>");
  EXPECT_EQ(index[4], "<B>Responses Received: 4</B>");
  EXPECT_EQ(index[5], "<hr>");
  EXPECT_EQ(index[6], "1) <A HREF=\"P1.htm\">Smoke?</A><p>");
  EXPECT_EQ(index[9], "4) <A HREF=\"P4.htm\">Age</A><p>");
  EXPECT_TRUE(index[10].starts_with("<HR>Generated at "));
  EXPECT_TRUE(index[10].ends_with(
      " by <A HREF=\"https://www.quorvant.example/\">Quorvant</A></FONT></BODY></HTML>"));

  ASSERT_EQ(AddFilterCondition(survey_, "2=0", survey_.ActiveFilter()), "");
  ASSERT_EQ(AddFilterCondition(survey_, "5>30", survey_.ActiveFilter()), "");
  index = IndexPageLines(survey_, names_, listing_.analysis_items);
  const Lines& d = survey_.ActiveFilter().Descriptions();
  ASSERT_EQ(d.size(), 2u);
  EXPECT_EQ(index[5], "<br><B>Active Filter:</B><br>");
  EXPECT_EQ(index[6], d[0] + " <B>and</B> ");
  EXPECT_EQ(index[7], d[1] + " ");
  EXPECT_EQ(index[8], "<hr>");
}

TEST_F(WebReportTest, AnswersAreTrimmedEscapedAndFiltered) {
  Count();
  // Memo: the blank and empty ones give no line; markup shows as typed.
  EXPECT_EQ(Body(Page(2)), (Lines{"<HR>", "because<HR>", "&lt;script&gt;x()&lt;/script&gt;<HR>"}));
  EXPECT_EQ(Body(Page(3)), (Lines{"Bo<BR>", "Cy<BR>", "Di<BR>"}));
  EXPECT_EQ(Body(Page(1)),
            (Lines{"<IMG SRC=\"P1.jpg\" BORDER=0>", "<P><HR><B>Other Responses:</B><HR>",
                   "&lt;b&gt;pipe&lt;/b&gt;<BR>", "cigar<BR>"}));
  // No Other block without IncludeOther, though the table has the field.
  survey_.Item(1).IncludeOther = false;
  EXPECT_EQ(Body(Page(1)), (Lines{"<IMG SRC=\"P1.jpg\" BORDER=0>"}));
  survey_.Item(1).IncludeOther = true;

  // Under the filter "age over 30" only the last three records count.
  ASSERT_EQ(AddFilterCondition(survey_, "5>30", survey_.ActiveFilter()), "");
  Count();
  EXPECT_EQ(Body(Page(3)), (Lines{"Cy<BR>", "Di<BR>"}));
  EXPECT_EQ(Body(Page(1)).back(), "cigar<BR>");

  // Without the flag: no back link; the page is the one to open.
  const Lines alone = Page(3, false);
  EXPECT_EQ(alone[3], "<p>");
  EXPECT_EQ(Page(3)[3],
            "<br>&nbsp;&nbsp;&nbsp;&nbsp;<SMALL>Back to <A HREF=\"P.htm\">Question Index</A>"
            "</SMALL><p>");
}

// The whole report reads every answer in one pass over the file while a
// single page walks the table; both must list the same answers in the
// table's order (here the e-mail order, unlike the file's), under a filter.
TEST_F(WebReportTest, TheWholeReportListsWhatEachPageAndATableWalkList) {
  std::mt19937 rng(3);
  const auto word = [&rng](size_t most) {
    std::string w(rng() % (most + 1), ' ');
    for (char& c : w) c = static_cast<char>(rng() % 3 == 0 ? ' ' : 'a' + rng() % 26);
    return w;
  };
  for (int i = 0; i < 1500; ++i) {
    table_.table().Append({{"EMAIL", word(12)},
                           {"QVX2", std::to_string(rng() % 2)},
                           {"QVX2OT", word(8)},
                           {"QVX3", word(30)},
                           {"QVX4", word(10)},
                           {"QVX5", std::to_string(10 + rng() % 80)}});
  }
  table_.table().Commit();
  ASSERT_EQ(AddFilterCondition(survey_, "5>30", survey_.ActiveFilter()), "");
  Count();
  WebReportHooks hooks;
  hooks.write_chart = [](int, const std::string& path) { return WriteFileAtomically(path, "j"); };
  ASSERT_TRUE(WriteWebReport(survey_, &table_.table(), names_, listing_.analysis_items, hooks).ok);
  for (const int item : listing_.analysis_items) {
    Lines alone = Page(item);
    alone.pop_back();  // the time stamp
    std::string expected;
    for (const std::string& line : alone) expected += line + "\r\n";
    const std::string written = testing::ReadFileOrDie(names_.PagePath(item));
    EXPECT_EQ(written.substr(0, expected.size()), expected) << "item " << item;
  }
  // The plain reference: a walk of the table through the same filter.
  Table& t = table_.table();
  t.SetFilter(survey_.ActiveFilter().FilterExpression());
  Lines walked;
  for (t.GoTop(); !t.Eof(); t.Skip()) {
    const std::string name = TrimControls(t.Get("QVX4"));
    if (!name.empty()) walked.push_back(name + "<BR>");
  }
  ASSERT_GT(walked.size(), 100u);
  EXPECT_EQ(Body(Page(3)), walked);
}

// The line breaks inside an answer show in the browser; each answer stays
// one line of the file.
TEST_F(WebReportTest, AnAnswersLineBreaksShow) {
  table_.table().Append({{"QVX3",
                          "Gr\xC3\xBC\xC3\x9F"
                          "e\r\n<b>two</b>\nthree\rfour"}});
  table_.table().Commit();
  Count();
  const Lines body = Body(Page(2));
  EXPECT_NE(std::find(body.begin(), body.end(),
                      "Gr\xC3\xBC\xC3\x9F"
                      "e<BR>&lt;b&gt;two&lt;/b&gt;<BR>three<BR>four<HR>"),
            body.end())
      << ::testing::PrintToString(body);
}

// A filter no record meets: the counts fall back to every record, and the
// pages list every record's answers under a filter that says so.
TEST_F(WebReportTest, AFilterSetAsideByTheCountIsSetAsideOnThePages) {
  ASSERT_EQ(AddFilterCondition(survey_, "5>500", survey_.ActiveFilter()), "");
  Count();
  ASSERT_TRUE(survey_.Results().FilterSetAside());
  EXPECT_EQ(Body(Page(3)), (Lines{"Bo<BR>", "Cy<BR>", "Di<BR>"}));
  EXPECT_EQ(Body(Page(1)).back(), "cigar<BR>");
  const Lines index = IndexPageLines(survey_, names_, listing_.analysis_items);
  EXPECT_EQ(index[5], "<br><B>Active Filter:</B><br>");
  EXPECT_EQ(index[6], survey_.ActiveFilter().Descriptions()[0] + " ");
  EXPECT_EQ(index[7], std::string("<br><I>") + kFilterSetAside + "</I>");
  EXPECT_EQ(index[8], "<hr>");
  // The whole report, read in one pass, lists them too.
  WebReportHooks hooks;
  hooks.write_chart = [](int, const std::string& path) { return WriteFileAtomically(path, "j"); };
  ASSERT_TRUE(WriteWebReport(survey_, &table_.table(), names_, listing_.analysis_items, hooks).ok);
  EXPECT_NE(testing::ReadFileOrDie(names_.PagePath(3)).find("\r\nBo<BR>\r\nCy<BR>\r\n"),
            std::string::npos);
}

TEST_F(WebReportTest, WithoutATableTextPagesHoldOnlyTheirHead) {
  table_.Close();
  Lines page = Page(2);
  ASSERT_EQ(page.size(), 5u);
  EXPECT_EQ(page[2], "<B>2) Why?</B>");
  EXPECT_TRUE(page[4].starts_with("<HR>Generated at "));
  EXPECT_EQ(Body(Page(1)),
            (Lines{"<IMG SRC=\"P1.jpg\" BORDER=0>", "<P><HR><B>Other Responses:</B><HR>"}));
}

TEST_F(WebReportTest, FailuresAreToldAndKeepWhatWasWritten) {
  Count();
  WebReportHooks hooks;
  hooks.write_chart = [](int, const std::string& path) { return WriteFileAtomically(path, "j"); };
  const WebReportNames missing(dir_.File("nowhere"), "P.qvx", ".htm");
  WebReportResult r =
      WriteWebReport(survey_, &table_.table(), missing, listing_.analysis_items, hooks);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.error, "The directory " + dir_.File("nowhere") + " does not exist.");

  // A folder where page 3 should go: pages 1 and 2 stay, no index claims
  // success.
  ASSERT_EQ(mkdir(dir_.File("P3.htm").c_str(), 0700), 0);
  r = WriteWebReport(survey_, &table_.table(), names_, listing_.analysis_items, hooks);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.error, "The page " + dir_.File("P3.htm") + " could not be written.");
  EXPECT_TRUE(FileExists(dir_.File("P1.htm")));
  EXPECT_TRUE(FileExists(dir_.File("P2.htm")));
  EXPECT_FALSE(FileExists(dir_.File("P.htm")));

  ASSERT_EQ(rmdir(dir_.File("P3.htm").c_str()), 0);
  r = WriteQuestionPage(survey_, &table_.table(), names_, 4, false, hooks);
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.written, "The web page " + dir_.File("P4.htm") + " and its chart image " +
                           dir_.File("P4.jpg") + " were written.");
  r = WriteQuestionPage(survey_, &table_.table(), names_, 3, false, hooks);
  EXPECT_EQ(r.written, "The web page " + dir_.File("P3.htm") + " was written.");

  hooks.write_chart = [](int, const std::string&) { return false; };
  r = WriteQuestionPage(survey_, &table_.table(), names_, 4, false, hooks);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.error, "The chart image " + dir_.File("P4.jpg") + " could not be written.");
}

}  // namespace
}  // namespace quorvant

namespace quorvant {
namespace {

TEST(AnswerTextListTest, EachAnswerIsFollowedByASeparatorLine) {
  const std::string dashes(50, '-');
  EXPECT_EQ(AnswerTextList({"a", "b c", "d"}),
            "a\r\n" + dashes + "\r\nb c\r\n" + dashes + "\r\nd\r\n" + dashes + "\r\n");
  EXPECT_EQ(AnswerTextList({}), "");
}

}  // namespace
}  // namespace quorvant
