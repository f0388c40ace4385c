#include "core/libraries/question_import.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "core/libraries/library_files.h"
#include "core/libraries/response_template.h"
#include "core/survey/comma_text.h"
#include "core/survey/survey.h"
#include "support/scripted_prompts.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

using testing::WriteFileOrDie;

class QuestionImportTest : public testing::CoreTest {
 protected:
  std::string DataDir() const { return dir_.path() + "/"; }

  // Every item as "style|text|option;option;..." on a line of its own.
  static std::string Items(const TSurvey& survey) {
    std::string out;
    for (const TQuestion& q : survey.Items()) {
      out += std::to_string(q.Style) + "|" + q.Text + "|";
      for (const std::string& line : q.OptionLines()) out += line + ";";
      out += "\n";
    }
    return out;
  }

  std::string Import(const std::string& text, int style = 1) {
    WriteFileOrDie(dir_.File("in.txt"), text);
    TSurvey survey(settings_);
    EXPECT_TRUE(ImportQuestionFile(survey, dir_.File("in.txt"), style, DataDir(), prompts_));
    return Items(survey);
  }

  testing::ScriptedPrompts prompts_;
};

TEST_F(QuestionImportTest, LinesAreClassifiedInTheirTestOrder) {
  const struct {
    const char* line;
    ImportLineKind kind;
  } cases[] = {
      {"H) Heading", ImportLineKind::kHeader},   {"h)x", ImportLineKind::kHeader},
      {"H)", ImportLineKind::kHeader},           {"H", ImportLineKind::kQuestion},
      {"", ImportLineKind::kQuestion},           {"Why? ", ImportLineKind::kQuestion},
      {"\tTabbed", ImportLineKind::kResponse},   {"\t-Yes", ImportLineKind::kTemplate},
      {"\t \tMixed", ImportLineKind::kResponse}, {"Tab\tinside", ImportLineKind::kQuestion},
      {"\x04 skip", ImportLineKind::kIgnored},   {"  -Yes", ImportLineKind::kTemplate},
      {" -", ImportLineKind::kTemplate},         {"  Maybe", ImportLineKind::kResponse},
      {"   ", ImportLineKind::kResponse},        {" h) indented", ImportLineKind::kResponse},
  };
  for (const auto& c : cases) EXPECT_EQ(ClassifyImportLine(c.line), c.kind) << c.line;
  EXPECT_EQ(ImportStyleForIndex(0), 1);
  EXPECT_EQ(ImportStyleForIndex(2), 3);
  EXPECT_EQ(ImportStyleForIndex(3), 5);
  EXPECT_EQ(ImportStyleForIndex(4), 0);
}

TEST_F(QuestionImportTest, AFileBecomesQuestionsHeadersAndOptions) {
  WriteResponseTemplate(dir_.File("yesno.qvt"), {"Yes / No", {"Yes", "No", "Don't Know"}});
  const std::string items = Import(
      "\xEF\xBB\xBF  early\r\n"  // before the first question: goes to it
      "H) About you\r\n"         // header, its blank kept
      "Do you like it?  \r\n"    // trailing blanks kept
      "  -Yes\r\n"               // template through its title
      "  Sometimes  \n"          // then a response line, trimmed
      "\tOften\t\n"              // a tab indents like a blank
      "\n"                       // ends the question
      "  orphan\n"               // goes to the next question
      "h)lower\r"                // lower-case header, CR line end
      "Second\n"
      "  -Nothing like it\n"  // no template: the line, untrimmed
      "\x04ignored\n"
      "  -\n"  // empty name matches nothing
      "Last\n",
      5);
  EXPECT_EQ(items,
            "7| About you|\n"
            "5|Do you like it?  |early;Yes;No;Don't Know;Sometimes;Often;\n"
            "7|lower|\n"
            "5|Second|orphan;  -Nothing like it;  -;\n"
            "5|Last|\n");
  EXPECT_EQ(prompts_.log, std::vector<std::string>{"info: Import complete!"});
}

TEST_F(QuestionImportTest, TemplateFragmentsMatchTheFirstEntryInDirectoryOrder) {
  WriteResponseTemplate(dir_.File("yesno.qvt"), {"Yes / No", {"Y", "N"}});
  WriteResponseTemplate(dir_.File("agree.qvt"), {"Agree / Disagree", {"A", "D"}});
  WriteResponseTemplate(dir_.File("rtemp0.qvt"), {"Know / No idea", {"K", "I"}});
  const std::vector<std::string> index = BuildTemplateIndex(DataDir());
  ASSERT_EQ(index.size(), 3u);
  // What a question with one template line naming `fragment` must get: the
  // values of the first index entry containing it, letter case counting.
  auto expected = [&](const std::string& fragment) {
    std::string out = "1|Q|";
    for (const std::string& entry : index) {
      if (entry.find(fragment) == std::string::npos) continue;
      for (const std::string& v :
           ReadResponseTemplate(dir_.File(entry.substr(0, entry.find('|')))).values) {
        out += v + ";";
      }
      break;
    }
    return out + "\n";
  };
  // "No" stands in two titles, "no" in a file name and a title; the first
  // in directory order wins.
  for (const char* fragment : {"No", "no", "Yes", "rtemp", "/"}) {
    EXPECT_EQ(Import(std::string("Q\n  -") + fragment + "\n"), expected(fragment)) << fragment;
  }
  EXPECT_EQ(Import("Q\n  -gree\n  -YES\n"), "1|Q|A;D;  -YES;\n");
  for (const std::string& entry : index) {
    EXPECT_TRUE(entry == "yesno.qvt|Yes / No" || entry == "agree.qvt|Agree / Disagree" ||
                entry == "rtemp0.qvt|Know / No idea")
        << entry;
  }
}

TEST_F(QuestionImportTest, ImportedQuestionsCarryNoSettings) {
  WriteFileOrDie(dir_.File("in.txt"), "Only questions\nAnd another\n");
  TSurvey survey(settings_);
  ASSERT_TRUE(ImportQuestionFile(survey, dir_.File("in.txt"), 2, DataDir(), prompts_));
  ASSERT_EQ(survey.ItemCount(), 2);
  for (const TQuestion& q : survey.Items()) {
    EXPECT_EQ(q.Style, 2);
    EXPECT_EQ(q.Options, "");
    EXPECT_EQ(q.LengthOfResponse, 0);
    EXPECT_EQ(q.MinValue + q.MaxValue + q.StepValue, 0);
    EXPECT_FALSE(q.IncludeOther);
  }
  EXPECT_EQ(survey.Item(1).ID, 2);
  EXPECT_TRUE(survey.Modified());
  EXPECT_FALSE(survey.HasFile());
}

TEST_F(QuestionImportTest, AnUnreadableFileImportsNothing) {
  TSurvey survey(settings_);
  EXPECT_FALSE(ImportQuestionFile(survey, dir_.File("missing.txt"), 1, DataDir(), prompts_));
  EXPECT_FALSE(ImportQuestionFile(survey, dir_.path(), 1, DataDir(), prompts_));
  EXPECT_EQ(survey.ItemCount(), 0);
  EXPECT_EQ(prompts_.log,
            (std::vector<std::string>{"error: Error loading file " + dir_.File("missing.txt"),
                                      "error: Error loading file " + dir_.path()}));
}

// Random lines joined with random line ends split back into the same lines.
TEST_F(QuestionImportTest, LineEndsOfEveryKindSplitAlike) {
  std::mt19937 random(18);
  const char alphabet[] = " -H)hx\x04\t";
  const char* ends[] = {"\r\n", "\n", "\r"};
  for (int round = 0; round < 300; ++round) {
    std::vector<std::string> lines(random() % 8);
    for (std::string& line : lines) {
      for (int n = random() % 6; n > 0; --n) line += alphabet[random() % (sizeof alphabet - 1)];
    }
    std::string text = round % 2 ? "\xEF\xBB\xBF" : "";
    bool last_ended = true;
    for (size_t i = 0; i < lines.size(); ++i) {
      text += lines[i];
      if (i + 1 == lines.size() && random() % 2) {
        last_ended = false;
        break;
      }
      std::string end = ends[random() % 3];
      // A CR followed by the LF of an empty line would read as one CR LF.
      if (end == "\r" && i + 1 < lines.size() && lines[i + 1].empty()) end = "\n";
      text += end;
    }
    if (!lines.empty() && lines.back().empty() && !last_ended) {
      lines.pop_back();  // an empty last line without its end is no line
    }
    EXPECT_EQ(SplitImportLines(text), lines) << round;
  }
}

}  // namespace
}  // namespace quorvant
