// The printed survey and analysis reports, drawn on a canvas that records
// every call.
#include <gtest/gtest.h>

#include <sstream>

#include "core/analysis/result_counting.h"
#include "core/reports/analysis_report.h"
#include "core/reports/page_canvas.h"
#include "core/reports/survey_report.h"
#include "core/reports/text_wrap.h"
#include "core/responses/response_table.h"
#include "core/survey/comma_text.h"
#include "core/survey/survey.h"
#include "support/scripted_prompts.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

// Every character is 10 wide, a line 20 high plus 2 per added point; texts
// are logged with their style: "T" normal, "B" bold, then the added points.
class RecordingCanvas : public PageCanvas {
 public:
  RecordingCanvas(int width, int height) : width_(width), height_(height) {}

  int PageWidth() const override { return width_; }
  int PageHeight() const override { return height_; }
  void SetTextStyle(const TextStyle& style) override { style_ = style; }
  int TextWidth(std::string_view text) override { return 10 * static_cast<int>(text.size()); }
  int TextHeight(std::string_view) override { return 20 + 2 * style_.points; }
  void DrawText(int x, int y, std::string_view text) override {
    std::string style = style_.bold ? "B" : "T";
    if (style_.points != 0) style += std::to_string(style_.points);
    Log(style + " " + std::to_string(x) + "," + std::to_string(y) + " " + std::string(text));
  }
  void SetPenWidth(int width) override { pen_ = width; }
  void DrawLine(int x1, int y1, int x2, int y2) override {
    Log("L" + std::to_string(pen_) + " " + std::to_string(x1) + "-" + std::to_string(x2) + " @" +
        std::to_string(y1) + (y1 == y2 ? "" : " slanted"));
  }
  void DrawCircle(int cx, int cy, int r) override {
    Log("circle" + std::to_string(pen_) + " " + std::to_string(cx) + "," + std::to_string(cy) +
        " r" + std::to_string(r));
  }
  void DrawSquare(int x, int y, int side) override {
    Log("square" + std::to_string(pen_) + " " + std::to_string(x) + "," + std::to_string(y) + " s" +
        std::to_string(side));
  }
  void DrawChart(int x1, int y1, int x2, int y2) override {
    Log("chart " + std::to_string(x1) + "," + std::to_string(y1) + "-" + std::to_string(x2) + "," +
        std::to_string(y2));
  }
  void NewPage() override { Log("-- new page"); }

  std::string log;
  int pages() const {
    int n = 1;
    for (size_t p = log.find("-- new page"); p != std::string::npos;
         p = log.find("-- new page", p + 1)) {
      ++n;
    }
    return n;
  }

 private:
  void Log(const std::string& line) { log += line + "\n"; }
  int width_, height_;
  TextStyle style_;
  int pen_ = 1;
};

// The lines of the page header on a 1000 x 1000 page: the title, two heavy
// rules and the footer of page n.
std::string PageTop(const std::string& title, int n) {
  return "B 20,20 " + title + "\nL4 20-990 @50\nL4 20-990 @70\nL4 20-990 @965\nT 470,975 Page " +
         std::to_string(n) + "\n";
}

class ReportPrintTest : public testing::CoreTest {
 protected:
  int Add(const std::string& text, int style, const std::vector<std::string>& options = {},
          bool other = false) {
    return survey_.AddItem(text, style, 0, 10, 1, other, 20, JoinCommaText(options));
  }
  TSurvey survey_{settings_};
};

TEST_F(ReportPrintTest, HeaderAndSingleChoiceQuestion) {
  survey_.SetName("Fair");
  Add("Welcome", kStyleHeader);
  Add("Colour?", kStyleSingleChoice, {"Red", "Green", "Blue"});
  survey_.SetItemRequired(Add("Why?", kStyleText), true);
  RecordingCanvas canvas(1000, 1000);
  PrintSurveyReport(survey_, canvas);
  // Header 2 points larger (24 high): 80 + 2 x 34. Question lines 30 apart;
  // ticks in the box from (80, Y + 5), 15 wide; then a blank line's height.
  // A required question says so after its text.
  EXPECT_EQ(canvas.log, PageTop("Quorvant Report - Fair", 1) +
                            "B2 20,80 Welcome\n"
                            "B 40,148 1) Colour?\n"
                            "T 80,178 (Choose only one)\n"
                            "circle4 87,220 r7\nT 100,208 Red\n"
                            "circle4 87,250 r7\nT 100,238 Green\n"
                            "circle4 87,280 r7\nT 100,268 Blue\n"
                            "B 40,328 2) Why? (Answer required)\n"
                            "T 80,358 (Write in your response below)\n"
                            "L2 80-500 @418\n");
}

TEST_F(ReportPrintTest, OtherNumericAndSkipNotes) {
  const int head = Add("Smoke?", kStyleSingleChoice, {"Yes", "No"});
  const int m1 = Add("How many?", kStyleNumeric);
  const int m2 = Add("Brand?", kStyleMultipleChoice, {"A", "B"}, true);
  Add("Age?", kStyleNumeric);
  survey_.Item(head).SkipGroupOfResponse = 1;
  survey_.Item(m1).SkipGroupOfQuestion = survey_.Item(head).ID;
  survey_.Item(m2).SkipGroupOfQuestion = survey_.Item(head).ID;
  RecordingCanvas canvas(1000, 1000);
  PrintSurveyReport(survey_, canvas);
  EXPECT_NE(canvas.log.find("circle4 87,152 r7\nT 100,140 Yes\n"), std::string::npos) << canvas.log;
  // The note on the second option names the item three positions on.
  EXPECT_NE(canvas.log.find("T 100,170 No (if you choose No, please skip to question 2)\n"),
            std::string::npos);
  EXPECT_NE(canvas.log.find("T 80,260 Please enter a numeric value between 1 and 10: _________\n"),
            std::string::npos);
  // Multiple Choice ticks are squares, the Other line's too.
  EXPECT_NE(canvas.log.find("square4 80,385 s15\nT 100,380 A\n"), std::string::npos);
  EXPECT_NE(canvas.log.find("square4 80,445 s15\nT 100,440 Other, please specify: "
                            "______________________________________\n"),
            std::string::npos);

  // A group to the end of the survey names the end.
  survey_.DeleteItem(3);
  RecordingCanvas to_end(1000, 1000);
  PrintSurveyReport(survey_, to_end);
  EXPECT_NE(to_end.log.find("No (if you choose No, please skip to the end of the survey)"),
            std::string::npos);
}

TEST_F(ReportPrintTest, LongSurveyBreaksAfterTheLineThatPassesTheLimit) {
  for (int i = 0; i < 60; ++i) Add("Q" + std::to_string(i), kStyleNumeric);
  RecordingCanvas canvas(1000, 1000);
  PrintSurveyReport(survey_, canvas);
  // 90 per item from 80; the limit is 1000 - 55 = 945, which the item at
  // 890 passes (ending at 980): ten items on every page. The last item
  // passes it too, but starts no empty page.
  EXPECT_EQ(canvas.pages(), 6);
  EXPECT_NE(canvas.log.find("B 40,890 10) Q9\nT 80,920 Please enter a numeric value between 1 and "
                            "10: _________\n-- new page\n" +
                            PageTop(SurveyReportTitle(survey_), 2) + "B 40,80 11) Q10\n"),
            std::string::npos);
  EXPECT_NE(canvas.log.find("T 470,975 Page 6\n"), std::string::npos);
  EXPECT_EQ(canvas.log.find("Page 7"), std::string::npos);
}

TEST_F(ReportPrintTest, AnalysisIndexFilterChartAndAnswers) {
  survey_.SetName("Fair");
  survey_.SetFileName(dir_.File("fair.qvx"));
  Add("Part one", kStyleHeader);
  const int colour = Add("Colour?", kStyleSingleChoice, {"Red", "Green"}, true);
  const int why = survey_.AddItem("Why?", kStyleText, 0, 0, 0, false, -1, "");
  survey_.ActiveFilter().AddChoiceCondition(survey_.Item(colour), true, 0);
  survey_.ActiveFilter().AddChoiceCondition(survey_.Item(colour), false, 1);
  ASSERT_EQ(survey_.ActiveFilter().Count(), 2);
  testing::ScriptedPrompts prompts;
  TResponseTable responses(prompts);
  ASSERT_TRUE(responses.Create(survey_));
  Table& t = responses.table();
  const std::string c = "QVX" + std::to_string(survey_.Item(colour).ID);
  const std::string w = "QVX" + std::to_string(survey_.Item(why).ID);
  t.Append({{c, "0"}, {c + "OT", "  teal  "}, {w, "first\r\nsecond"}});
  t.Append({{c, "1"}, {c + "OT", "filtered out"}, {w, "no"}});
  t.Append({{c, "0"}, {c + "OT", " "}, {w, "   "}});
  t.Commit();

  std::vector<int> shown;
  AnalysisReport report{survey_, &t, [&](int i) { shown.push_back(i); }};
  RecordingCanvas canvas(1000, 1000);
  PrintAnalysisReport(report, canvas);
  EXPECT_EQ(shown, (std::vector<int>{1, 2}));
  const std::string& log = canvas.log;
  const std::string filter =
      "T-2 20,148 Active Filter: " + survey_.ActiveFilter().Descriptions()[0] + " and " +
      survey_.ActiveFilter().Descriptions()[1] + "\n";
  EXPECT_EQ(log.substr(0, log.find("-- new page")), PageTop("Quorvant Analysis Report - Fair", 1) +
                                                        "B3 20,80 Questions\n"
                                                        "B2 20,152 Part one\n"
                                                        "B 40,186 1) Colour?  [Single Choice]\n"
                                                        "B 40,216 2) Why?  [Text Comment]\n");
  // Title at 80, the filter line (16 high) at 148, the chart from 174 half
  // a page high.
  EXPECT_NE(log.find("B2 20,80 1) Colour?\n" + filter + "chart 40,174-960,674\n" +
                     "T 20,684 Other Responses\nL1 20-980 @714\nT 20,714 teal\n-- new page\n"),
            std::string::npos)
      << log;
  EXPECT_EQ(log.find("filtered out"), std::string::npos);
  // A memo's lines print one under the other; a blank memo prints nothing.
  EXPECT_NE(log.find("B2 20,80 2) Why?\n" + filter + "T 20,174 first\nT 20,204 second\n"),
            std::string::npos);
  EXPECT_EQ(log.find("T 20,234"), std::string::npos);
  EXPECT_EQ(canvas.pages(), 3);

  RecordingCanvas one(1000, 1000);
  shown.clear();
  PrintQuestionAnalysis(report, why, one);
  EXPECT_EQ(shown, std::vector<int>{why});
  EXPECT_EQ(one.log.substr(0, one.log.find('\n')),
            "B 20,20 Quorvant Analysis Report - Fair, Question #2");
  EXPECT_EQ(one.pages(), 1);
}

// The answers printed after the title and filter line: each text drawn
// at the left margin with its page and position.
struct PrintedLine {
  int page;
  int y;
  std::string text;
};
std::vector<PrintedLine> AnswerLines(const std::string& log, int first_y) {
  std::vector<PrintedLine> lines;
  std::istringstream in(log);
  int page = 1;
  for (std::string line; std::getline(in, line);) {
    if (line == "-- new page") ++page;
    int y = 0;
    char text[1] = {};
    if (line.rfind("T 20,", 0) != 0 || std::sscanf(line.c_str(), "T 20,%d%c", &y, text) != 2) {
      continue;
    }
    const std::string rest = line.substr(line.find(' ', 5) + 1);
    if (rest.rfind("Page ", 0) == 0 || (page == 1 && y < first_y)) continue;
    lines.push_back({page, y, rest});
  }
  return lines;
}

std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> words;
  std::istringstream in(text);
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

// A long answer wraps between the margins and runs on over pages; a word
// wider than the page breaks between characters; its line breaks stay; the
// next answer starts half a line further down.
TEST_F(ReportPrintTest, LongAnswersWrapToThePageAndKeepTheirLines) {
  survey_.SetName("Long");
  survey_.SetFileName(dir_.File("long.qvx"));
  const int why = survey_.AddItem("Why?", kStyleText, 0, 0, 0, false, -1, "");
  std::string answer;
  for (int i = 0; answer.size() < 20000; ++i) {
    answer += "word" + std::to_string(i) + (i % 97 == 96 ? "\r\n" : " ");
  }
  const std::string wide(250, 'x');
  answer += wide + "\n\nlast line";
  testing::ScriptedPrompts prompts;
  TResponseTable responses(prompts);
  ASSERT_TRUE(responses.Create(survey_));
  Table& t = responses.table();
  const std::string field = "QVX" + std::to_string(survey_.Item(why).ID);
  t.Append({{field, answer}});
  t.Append({{field, "second answer"}});
  t.Commit();

  AnalysisReport report{survey_, &t, {}};
  RecordingCanvas canvas(1000, 1000);
  PrintQuestionAnalysis(report, why, canvas);
  const std::vector<PrintedLine> lines = AnswerLines(canvas.log, 174);
  ASSERT_GT(lines.size(), 200u);
  std::string printed;
  for (const PrintedLine& line : lines) {
    EXPECT_LE(line.text.size(), 96u) << line.text;       // 960 pixels between the margins
    EXPECT_LE(line.y, 1000 - 2 * 20 - 15) << line.text;  // above the footer
    printed += line.text + "\n";
  }
  EXPECT_GT(lines.back().page, 5);
  // Every word, in order; the wide word in full lines of 96 and the rest.
  std::vector<std::string> expected = Words(answer);
  expected.resize(expected.size() - 3);  // the wide word, "last", "line"
  for (size_t at = 0; at < wide.size(); at += 96) expected.push_back(wide.substr(at, 96));
  for (const char* w : {"last", "line", "second", "answer"}) expected.emplace_back(w);
  std::vector<std::string> got = Words(printed);
  EXPECT_EQ(got, expected);
  // The answer's own line breaks start lines: after word96, and an empty
  // line between the wide word and "last line".
  for (int i = 96; answer.find("word" + std::to_string(i + 1) + " ") != std::string::npos;
       i += 97) {
    EXPECT_NE(printed.find("word" + std::to_string(i) + "\nword" + std::to_string(i + 1) + " "),
              std::string::npos)
        << i;
  }
  EXPECT_NE(printed.find(std::string(250 - 192, 'x') + "\n\nlast line\nsecond answer\n"),
            std::string::npos);
  // Half a line (10) more between the two answers than between two lines.
  const PrintedLine& last = lines[lines.size() - 2];
  const PrintedLine& next = lines.back();
  ASSERT_EQ(last.text, "last line");
  if (last.page == next.page) {
    EXPECT_EQ(next.y - last.y, 30 + 10);
  }
}

// Wrapping never splits a character, keeps every one, and stays bounded
// for characters that take no width at all.
TEST(TextWrapTest, CharactersStayWholeAndNarrowTextStaysBounded) {
  const TextMeasure chars = [](std::string_view text) {
    int n = 0;
    for (const char c : text) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n;
  };
  const std::string umlauts = "\xC3\xBC\xC3\xBC\xC3\xBC\xC3\xBC\xC3\xBC";  // five ü
  EXPECT_EQ(WrapText(umlauts, 2, chars),
            (std::vector<std::string>{"\xC3\xBC\xC3\xBC", "\xC3\xBC\xC3\xBC", "\xC3\xBC"}));
  EXPECT_EQ(WrapText("ab  cd\r\n\r\nef", 3, chars),
            (std::vector<std::string>{"ab", "cd", "", "ef"}));
  EXPECT_EQ(WrapText("", 3, chars), std::vector<std::string>{""});
  EXPECT_EQ(WrapText("abc", 0, chars), (std::vector<std::string>{"a", "b", "c"}));

  const std::string zero_width = [] {
    std::string t;
    for (int i = 0; i < 100000; ++i) t += "\xE2\x80\x8B";  // U+200B, no width
    return t;
  }();
  long long measured = 0;
  const TextMeasure nothing = [&measured](std::string_view text) {
    measured += static_cast<long long>(text.size());
    return 0;
  };
  const std::vector<std::string> lines = WrapText(zero_width, 100, nothing);
  std::string joined;
  for (const std::string& line : lines) {
    EXPECT_LE(line.size(), 1024u);
    joined += line;
  }
  EXPECT_EQ(joined, zero_width);
  EXPECT_LT(measured, 400000000);
}

// A filter no record meets: the counts cover every record, and so do the
// printed answers, under a filter line that says so.
TEST_F(ReportPrintTest, AFilterSetAsideBySomeCountIsSetAsideForTheAnswersToo) {
  survey_.SetName("Fair");
  survey_.SetFileName(dir_.File("fair.qvx"));
  const int colour = Add("Colour?", kStyleSingleChoice, {"Red", "Green"}, true);
  testing::ScriptedPrompts prompts;
  TResponseTable responses(prompts);
  ASSERT_TRUE(responses.Create(survey_));
  const std::string c = "QVX" + std::to_string(survey_.Item(colour).ID);
  responses.table().Append({{c, "Oth"}, {c + "OT", "teal"}});
  responses.table().Append({{c, "Oth"}, {c + "OT", "mauve"}});
  responses.table().Commit();
  survey_.ActiveFilter().AddChoiceCondition(survey_.Item(colour), true, 0);  // nobody
  ASSERT_TRUE(ComputeResults(survey_, responses, prompts));
  ASSERT_TRUE(survey_.Results().FilterSetAside());

  AnalysisReport report{survey_, &responses.table(), {}};
  RecordingCanvas canvas(1000, 1000);
  PrintQuestionAnalysis(report, colour, canvas);
  EXPECT_NE(canvas.log.find("Active Filter: " + survey_.ActiveFilter().Descriptions()[0] + " - " +
                            kFilterSetAside + "\n"),
            std::string::npos)
      << canvas.log;
  EXPECT_NE(canvas.log.find(" teal\n"), std::string::npos) << canvas.log;
  EXPECT_NE(canvas.log.find(" mauve\n"), std::string::npos) << canvas.log;
}

}  // namespace
}  // namespace quorvant
