// quorvant-cli crosstab, run as the real program on the counted survey: the
// plain table with its test, JSON with exactly its keys, CSV with quoted
// labels, the filter, and the refusals (bad IDs, a Text question).
#include <gtest/gtest.h>

#include "cli_runner.h"
#include "core/survey/survey.h"
#include "counted_survey.h"
#include "support/scripted_prompts.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

class CrosstabCliTest : public testing::CoreTest {
 protected:
  CrosstabCliTest() {
    testing::MakeCountedSurvey(survey_, prompts_, dir_.File("s.qvx"), "Smoke, \"really\"?");
  }
  testing::CliRun Crosstab(const std::string& arguments) {
    return testing::RunCli(dir_.path(), "crosstab '" + dir_.File("s.qvx") + "' " + arguments);
  }

  TSurvey survey_{settings_};
  testing::ScriptedPrompts prompts_;
};

// Records (choice, age): (Yes, 25), (No, 33), (Other, -9999), (Yes, 41);
// 41 lies beyond the last group (31 to 40), so two records are left out.
TEST_F(CrosstabCliTest, PlainJsonAndCsvForms) {
  testing::CliRun r = Crosstab("1 3");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "Filter: None\n"
            "Rows: 1) Smoke, \"really\"?\n"
            "Columns: 3) Age\n\n"
            "\t20 to 30\t31 to 40\tTotal\n"
            "Yes\t1\t0\t1\n"
            "No\t0\t1\t1\n"
            "Other\t0\t0\t0\n"
            "Total\t1\t1\t2\n\n"
            "Records counted: 4; left out for a blank answer: 2\n"
            "Pearson chi-square: 2.000, df: 1, p: 0.1573; Cram\xC3\xA9r's V: 1.000\n"
            "4 of 4 cells (100.0%) expect fewer than 5 answers: the chi-square test may not be "
            "reliable.\n");

  r = Crosstab("1 3 --json");
  ASSERT_EQ(r.status, 0) << r.err;
  testing::WriteFileOrDie(dir_.File("r.json"), r.out);
  testing::WriteFileOrDie(
      dir_.File("check.py"),
      "import json, math, sys\n"
      "d = json.load(open(sys.argv[1]))\n"
      "assert sorted(d) == sorted(['row', 'column', 'filter', 'cells', 'row_totals',\n"
      "    'column_totals', 'total', 'blank', 'chi_square', 'df', 'p', 'cramers_v']), d\n"
      "assert d['row']['labels'] == ['Yes', 'No', 'Other'] and d['row']['id'] == 1\n"
      "assert d['row']['text'] == 'Smoke, \"really\"?'\n"
      "assert d['column']['labels'] == ['20 to 30', '31 to 40']\n"
      "assert d['cells'] == [[1, 0], [0, 1], [0, 0]], d['cells']\n"
      "assert d['row_totals'] == [1, 1, 0] and d['column_totals'] == [1, 1]\n"
      "assert d['total'] == 2 and d['blank'] == 2 and d['df'] == 1 and d['filter'] == ''\n"
      "assert d['chi_square'] == 2 and d['cramers_v'] == 1\n"
      "assert abs(d['p'] - math.erfc(1)) < 1e-15, d['p']\n");
  const std::string check = "python3 '" + dir_.File("check.py") + "' '" + dir_.File("r.json") + "'";
  EXPECT_EQ(std::system(check.c_str()), 0) << r.out;

  r = Crosstab("3 1 --csv --where '3<35'");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "row_label,column_label,count\r\n"
            "20 to 30,Yes,1\r\n20 to 30,No,0\r\n20 to 30,Other,0\r\n"
            "31 to 40,Yes,0\r\n31 to 40,No,1\r\n31 to 40,Other,0\r\n");
  EXPECT_EQ(r.err, "");
}

TEST_F(CrosstabCliTest, AFilterAppliesAndAQuestionMayMeetItself) {
  const testing::CliRun r = Crosstab("1 1 --where 1!=1 --json");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("\"filter\": \"QVX1<>\\\"1\\\"\""), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\"cells\": [[2, 0, 0], [0, 0, 0], [0, 0, 1]]"), std::string::npos);
  // Yes and Other keep answers beside each other, so the question against
  // itself is tested, with one degree of freedom.
  EXPECT_NE(r.out.find("\"df\": 1"), std::string::npos) << r.out;
}

TEST_F(CrosstabCliTest, BadIdsAndTextQuestionsAreRefused) {
  struct Case {
    const char* arguments;
    int status;
    const char* error;
  };
  const Case cases[] = {
      {"1 99", 1, "The survey has no question with ID 99.\n"},
      {"2 1", 1,
       "Question 2 is a Text question: a cross table takes Single Choice, Pulldown, Sliding "
       "Scale, Multiple Choice and Numeric questions.\n"},
      {"one 3", 2,
       "quorvant-cli: ROWID and COLID are question IDs (whole numbers)\nTry 'quorvant-cli "
       "--help'.\n"},
      {"1", 2, ""},
      {"1 3 --json --csv", 2, ""},
      {"1 3 --where 9=1", 2, ""},
  };
  for (const Case& c : cases) {
    const testing::CliRun r = Crosstab(c.arguments);
    EXPECT_EQ(r.status, c.status) << c.arguments << ": " << r.err;
    if (*c.error != '\0') {
      EXPECT_EQ(r.err, c.error) << c.arguments;
    }
    EXPECT_EQ(r.out, "") << c.arguments;
  }
}

}  // namespace
}  // namespace quorvant
