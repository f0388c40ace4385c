// quorvant-cli results, run as the real program: the three output forms,
// conditions, the eliminating filter on stderr, and refused conditions.
#include <gtest/gtest.h>

#include "cli_runner.h"
#include "counted_survey.h"
#include "core/responses/response_table.h"
#include "core/survey/comma_text.h"
#include "core/survey/survey.h"
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

}  // namespace
}  // namespace quorvant
