// quorvant-cli print, run as the real program, its PDFs read back with
// poppler's pdftotext and pdfinfo: the questionnaire with its marks, notes
// and page footers, a long survey's pages, and the printed analysis.
#include <gtest/gtest.h>

#include <sstream>

#include "cli_runner.h"
#include "core/responses/response_table.h"
#include "core/survey/comma_text.h"
#include "core/survey/survey.h"
#include "support/scripted_prompts.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

bool HavePoppler() {
  return std::system(
             "command -v pdftotext >/dev/null 2>&1 && command -v pdfinfo >/dev/null 2>&1") == 0;
}

class PrintCliTest : public testing::CoreTest {
 protected:
  PrintCliTest() {
    survey_.SetName("County Fair");
    survey_.SetFileName(dir_.File("s.qvx"));
    survey_.AddItem("About the visit", kStyleHeader, 0, 0, 0, false, 0, "");
    survey_.AddItem("Did you come by car?", kStyleSingleChoice, 0, 0, 0, false, 0,
                    JoinCommaText({"Yes", "No"}));
    survey_.AddItem("Where did you park?", kStyleText, 0, 0, 0, false, 30, "");
    survey_.AddItem("Parking fee", kStyleNumeric, 1, 10, 1, false, 0, "");
    survey_.AddItem("What did you see?", kStyleMultipleChoice, 0, 0, 0, true, 0,
                    JoinCommaText({"Cattle", "Rides"}));
    survey_.AddItem("Comments", kStyleText, 0, 0, 0, false, -1, "");
    // The car question skips the two parking questions for "No".
    survey_.Item(1).SkipGroupOfResponse = 1;
    survey_.Item(2).SkipGroupOfQuestion = survey_.Item(1).ID;
    survey_.Item(3).SkipGroupOfQuestion = survey_.Item(1).ID;
    TResponseTable responses(prompts_);
    EXPECT_TRUE(responses.Create(survey_));
    responses.table().Append({{"QVX2", "0"},
                              {"QVX3", "North lot"},
                              {"QVX4", "5"},
                              {"QVX5_0", "Y"},
                              {"QVX5_1", "N"},
                              {"QVX5OT", "Pigs"},
                              {"QVX6", "Lovely day\r\nToo hot"}});
    responses.table().Append(
        {{"QVX2", "1"}, {"QVX5_0", "N"}, {"QVX5_1", "Y"}, {"QVX5OT", "Goats"}, {"QVX6", "Bus"}});
    responses.Close();
    survey_.Save();
  }
  testing::CliRun Print(const std::string& arguments) {
    return testing::RunCli(dir_.path(), "print '" + dir_.File("s.qvx") + "' " + arguments);
  }
  // The text of the PDF's pages first to last (all when 0), laid out.
  std::string Text(const std::string& pdf, int first = 0, int last = 0) {
    std::string range;
    if (first > 0) range = " -f " + std::to_string(first) + " -l " + std::to_string(last);
    const std::string txt = dir_.File("out.txt");
    EXPECT_EQ(std::system(("pdftotext -layout" + range + " '" + pdf + "' '" + txt + "'").c_str()),
              0);
    return testing::ReadFileOrDie(txt);
  }
  int Pages(const std::string& pdf) {
    const std::string info = dir_.File("info.txt");
    EXPECT_EQ(std::system(("pdfinfo '" + pdf + "' >'" + info + "'").c_str()), 0);
    const std::string text = testing::ReadFileOrDie(info);
    const size_t at = text.find("Pages:");
    return at == std::string::npos ? -1 : std::stoi(text.substr(at + 6));
  }

  TSurvey survey_{settings_};
  testing::ScriptedPrompts prompts_;
};

TEST_F(PrintCliTest, QuestionnaireHoldsEveryItemStyle) {
  if (!HavePoppler()) GTEST_SKIP() << "no poppler-utils";
  const std::string pdf = dir_.File("q.pdf");
  testing::CliRun r = Print("'" + pdf + "'");
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string text = Text(pdf);
  for (const char* line :
       {"Quorvant Report - County Fair", "About the visit", "1) Did you come by car?",
        "(Choose only one)", "No (if you choose No, please skip to question 2)",
        "1a) Where did you park?", "(Write in your response below)",
        "Please enter a numeric value between 1 and 10: _________", "(Choose all that apply)",
        "Other, please specify: ______________________________________", "3) Comments", "Page 1"}) {
    EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
  }
  EXPECT_EQ(Pages(pdf), 1);
  EXPECT_FALSE(FileExists(pdf + ".part"));
}

TEST_F(PrintCliTest, FiveHundredItemsFillNumberedPages) {
  if (!HavePoppler()) GTEST_SKIP() << "no poppler-utils";
  TSurvey big(settings_);
  big.SetName("Long");
  big.SetFileName(dir_.File("big.qvx"));
  for (int i = 0; i < 500; ++i) {
    big.AddItem("Question " + std::to_string(i + 1), kStyleSingleChoice, 0, 0, 0, false, 0,
                JoinCommaText({"Yes", "No", "Maybe"}));
  }
  big.Save();
  const std::string pdf = dir_.File("big.pdf");
  testing::CliRun r = testing::RunCli(dir_.path(), "print '" + big.FileName() + "' '" + pdf + "'");
  ASSERT_EQ(r.status, 0) << r.err;
  const int pages = Pages(pdf);
  // An item takes six and a half lines of 10 points; an A4 page holds
  // about ten items.
  EXPECT_GE(pages, 500 / 12);
  EXPECT_LE(pages, 500 / 8);
  for (int page = 1; page <= pages; ++page) {
    const std::string text = Text(pdf, page, page);
    EXPECT_NE(text.find("Quorvant Report - Long"), std::string::npos) << page;
    EXPECT_NE(text.find("Page " + std::to_string(page) + "\n"), std::string::npos) << page;
  }
  // Every question once, in order, none lost at a page break.
  const std::string all = Text(pdf);
  size_t at = 0;
  for (int i = 1; i <= 500; ++i) {
    at = all.find(std::to_string(i) + ") Question " + std::to_string(i) + "\n", at);
    ASSERT_NE(at, std::string::npos) << i;
  }
}

TEST_F(PrintCliTest, AnalysisReportAndOneQuestion) {
  if (!HavePoppler()) GTEST_SKIP() << "no poppler-utils";
  const std::string pdf = dir_.File("a.pdf");
  testing::CliRun r = Print("'" + pdf + "' --analysis --where '5=0' --where '5!=1'");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err.find("eliminates"), std::string::npos) << r.err;
  std::string text = Text(pdf);
  for (const char* line :
       {"Quorvant Analysis Report - County Fair", "Questions",
        "1) Did you come by car? [Single Choice]", "1a) Where did you park? [Text Comment]",
        "1b) Parking fee [Numeric]", "2) What did you see? [Multiple Choice]",
        "3) Comments [Text Comment]", "Active Filter: ", " and ", "Other Responses", "Pigs",
        "North lot", "Lovely day\n", "Too hot"}) {
    EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
  }
  // The filter leaves the first record only.
  EXPECT_EQ(text.find("Goats"), std::string::npos);
  EXPECT_EQ(text.find("Bus"), std::string::npos);
  // pdftotext closes up the two blanks before the tags. The index, then a
  // page per question.
  EXPECT_EQ(Pages(pdf), 6);

  r = Print("'" + pdf + "' --analysis --question 6");
  ASSERT_EQ(r.status, 0) << r.err;
  text = Text(pdf);
  EXPECT_NE(text.find("Quorvant Analysis Report - County Fair, Question #5"), std::string::npos);
  EXPECT_NE(text.find("Bus"), std::string::npos);
  EXPECT_EQ(text.find("Questions"), std::string::npos);
  EXPECT_EQ(Pages(pdf), 1);
}

// A 20,000-character answer wraps to the page and runs on over pages:
// every word of it is in the PDF's text, in order, and its own line
// breaks start new lines.
TEST_F(PrintCliTest, ALongAnswerIsPrintedWhole) {
  if (!HavePoppler()) GTEST_SKIP() << "no poppler-utils";
  std::string answer;
  std::vector<std::string> words;
  for (int i = 0; answer.size() < 20000; ++i) {
    words.push_back("w" + std::to_string(i));
    answer += words.back() + (i % 50 == 49 ? "\r\n" : " ");
  }
  {
    TResponseTable responses(prompts_);
    responses.Open(survey_);
    responses.table().Append({{"QVX2", "0"}, {"QVX6", answer}});
    responses.Close();
  }
  const std::string pdf = dir_.File("long.pdf");
  const testing::CliRun r = Print("'" + pdf + "' --analysis --question 6");
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string text = Text(pdf);
  std::vector<std::string> printed;
  std::istringstream in(text);
  for (std::string token; in >> token;) {
    if (token.size() > 1 && token[0] == 'w' &&
        token.find_first_not_of("0123456789", 1) == std::string::npos) {
      printed.push_back(token);
    }
  }
  EXPECT_EQ(printed, words);
  EXPECT_GT(Pages(pdf), 2);
  EXPECT_NE(text.find("w49\n"), std::string::npos);  // its line break kept
  // The short answers still print, each apart.
  EXPECT_NE(text.find("Bus"), std::string::npos);
}

TEST_F(PrintCliTest, WrongArgumentsWriteNothing) {
  const std::string pdf = dir_.File("x.pdf");
  EXPECT_EQ(Print("'" + pdf + "' --question 2").status, 2);
  EXPECT_EQ(Print("'" + pdf + "' --where '2=0'").status, 2);
  EXPECT_EQ(Print("").status, 2);
  EXPECT_EQ(Print("'" + pdf + "' --analysis --question 1").status, 1);  // a header
  EXPECT_EQ(Print("'" + pdf + "' --analysis --question 99").status, 1);
  EXPECT_EQ(Print("'" + pdf + "' --analysis --where '99=0'").status, 2);
  EXPECT_EQ(
      testing::RunCli(dir_.path(), "print '" + dir_.File("none.qvx") + "' '" + pdf + "'").status,
      1);
  EXPECT_FALSE(FileExists(pdf));
}

}  // namespace
}  // namespace quorvant
