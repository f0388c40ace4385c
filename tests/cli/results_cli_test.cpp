// quorvant-cli results and crosstab, run as the real program on the counted
// survey: the three output forms of each (JSON with exactly its keys, CSV
// with quoted labels), conditions, the eliminating filter on stderr, and
// refused conditions, question IDs and Text questions.
#include <gtest/gtest.h>

#include "cli_runner.h"
#include "core/responses/response_table.h"
#include "core/survey/comma_text.h"
#include "core/survey/survey.h"
#include "counted_survey.h"
#include "support/scripted_prompts.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

class ResultsCliTest : public testing::CoreTest {
 protected:
  ResultsCliTest() {
    testing::MakeCountedSurvey(survey_, prompts_, dir_.File("s.qvx"), "Smoke, \"really\"?");
  }
  testing::CliRun Results(const std::string& options) {
    return testing::RunCli(dir_.path(), "results '" + dir_.File("s.qvx") + "' " + options);
  }
  testing::CliRun Crosstab(const std::string& arguments) {
    return testing::RunCli(dir_.path(), "crosstab '" + dir_.File("s.qvx") + "' " + arguments);
  }

  TSurvey survey_{settings_};
  testing::ScriptedPrompts prompts_;
};

TEST_F(ResultsCliTest, PlainLinesWithAndWithoutConditions) {
  testing::CliRun r = Results("");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "Filter: None\nRecords counted: 4\n\n"
            "1) Smoke, \"really\"?\nYes\t2\nNo\t1\nOther\t1\n\n"
            "3) Age\nCount\t3\nTotal\t99\nAverage\t33\nHighest\t41\nLowest\t25\n"
            "20 to 30\t1\n31 to 40\t1\n");
  r = Results("--where 1=0 --where '3>30'");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "Filter: QVX1=\"0\" .AND. QVX3>30\nRecords counted: 1\n\n"
            "1) Smoke, \"really\"?\nYes\t1\nNo\t0\nOther\t0\n\n"
            "3) Age\nCount\t1\nTotal\t41\nAverage\t41\nHighest\t41\nLowest\t41\n"
            "20 to 30\t0\n31 to 40\t0\n");
  EXPECT_EQ(r.err, "");
}

TEST_F(ResultsCliTest, JsonIsValidAndCsvIsForSpreadsheets) {
  testing::CliRun r = Results("--where '1!=1' --json");
  ASSERT_EQ(r.status, 0) << r.err;
  testing::WriteFileOrDie(dir_.File("r.json"), r.out);
  testing::WriteFileOrDie(
      dir_.File("check.py"),
      "import json, sys\n"
      "d = json.load(open(sys.argv[1]))\n"
      "assert d['filter'] == 'QVX1<>\"1\"', d['filter']\n"
      "assert d['descriptions'] == ['Did not select \"No\" in \"Smoke, \"really\"?\"'], d\n"
      "assert d['records'] == 3\n"
      "q = d['questions']\n"
      "assert [e['count'] for e in q[0]['entries']] == [2, 0, 1]\n"
      "assert q[0]['entries'][2] == {'index': 2, 'label': 'Other', 'count': 1}\n"
      "assert q[0]['text'] == 'Smoke, \"really\"?' and q[0]['number'] == '1'\n"
      "assert q[1]['style'] == 6 and q[1]['average'] == 33 and q[1]['lowest'] == 25\n"
      "assert q[1]['groups'][0] == {'label': '20 to 30', 'low': 20, 'high': 30, 'count': 1}\n");
  const std::string check = "python3 '" + dir_.File("check.py") + "' '" + dir_.File("r.json") + "'";
  EXPECT_EQ(std::system(check.c_str()), 0) << r.out;

  r = Results("--csv");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            "question_id,question,label,count,percent\r\n"
            "1,\"Smoke, \"\"really\"\"?\",Yes,2,50.0\r\n"
            "1,\"Smoke, \"\"really\"\"?\",No,1,25.0\r\n"
            "1,\"Smoke, \"\"really\"\"?\",Other,1,25.0\r\n"
            "3,Age,20 to 30,1,25.0\r\n"
            "3,Age,31 to 40,1,25.0\r\n");
}

TEST_F(ResultsCliTest, AnEliminatingFilterWarnsOnStderrAndCountsEverything) {
  const testing::CliRun r = Results("--where '3>100'");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "Warning: The filter you defined eliminates all records.  Please try again.\n");
  EXPECT_TRUE(r.out.starts_with("Filter: QVX3>100\nRecords counted: 4\n")) << r.out;
}

TEST_F(ResultsCliTest, RefusedConditionsAndArguments) {
  for (const char* bad :
       {"--where 2=1", "--where 9=0", "--where '3>x'", "--where", "--json --csv", "extra.qvx"}) {
    const testing::CliRun r = Results(bad);
    EXPECT_EQ(r.status, 2) << bad;
    EXPECT_EQ(r.out, "") << bad;
  }
  EXPECT_NE(Results("--where 2=1").err.find("question 2 is a Text question"), std::string::npos);
  const testing::CliRun none =
      testing::RunCli(dir_.path(), "results '" + dir_.File("missing.qvx") + "'");
  EXPECT_EQ(none.status, 1);
}

// Records (choice, age): (Yes, 25), (No, 33), (Other, -9999), (Yes, 41);
// 41 lies beyond the last group (31 to 40), so two records are left out.
TEST_F(ResultsCliTest, CrosstabPlainJsonAndCsvForms) {
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

TEST_F(ResultsCliTest, CrosstabFilterAppliesAndAQuestionMayMeetItself) {
  const testing::CliRun r = Crosstab("1 1 --where 1!=1 --json");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("\"filter\": \"QVX1<>\\\"1\\\"\""), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\"cells\": [[2, 0, 0], [0, 0, 0], [0, 0, 1]]"), std::string::npos);
  // Yes and Other keep answers beside each other, so the question against
  // itself is tested, with one degree of freedom.
  EXPECT_NE(r.out.find("\"df\": 1"), std::string::npos) << r.out;
}

TEST_F(ResultsCliTest, CrosstabRefusesBadIdsAndTextQuestions) {
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
