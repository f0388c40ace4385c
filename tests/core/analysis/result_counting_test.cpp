// Compute results over small tables whose every count is known: the numeric
// groups, the Other answer, "~" labels, invalid values, the filter that
// eliminates everything, a filter the table cannot evaluate, and a table
// damaged while it is open.
#include "core/analysis/result_counting.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/analysis/numeric_groups.h"
#include "core/responses/response_table.h"
#include "core/survey/comma_text.h"
#include "core/survey/survey.h"
#include "support/scripted_prompts.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

std::string Groups(int min, int max, int step) {
  std::string out;
  for (const TCountResults& g : MakeNumericGroups(1, min, max, step)) {
    out += (out.empty() ? "" : ", ") + g.Label;
  }
  return out;
}

TEST(NumericGroupsTest, RangesAndSteps) {
  struct Case {
    int min, max, step;
    const char* groups;
  } cases[] = {
      {0, 100, 10,
       "0 to 10, 11 to 21, 22 to 32, 33 to 43, 44 to 54, 55 to 65, 66 to 76, 77 to 87, "
       "88 to 98, 99 to 100"},
      {0, 10, 4, "0 to 4, 5 to 9"},
      {5, 5, 3, "5 to 8"},                   // the first group is never cut
      {10, 1, 2, "10 to 12"},                // a range upside down still makes one group
      {1, 4, 0, "1 to 1, 2 to 2, 3 to 3"},   // the last start must lie below Max
      {1, 4, -3, "1 to 1, 2 to 2, 3 to 3"},  // would never end as written
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Groups(c.min, c.max, c.step), c.groups) << c.min << " " << c.max << " " << c.step;
  }
}

TEST(NumericGroupsTest, HugeRangesStopAtTheLimitAndKeepEveryValueInAGroup) {
  std::vector<TCountResults> groups = MakeNumericGroups(1, -2147483647 - 1, 2147483647, 0);
  ASSERT_EQ(groups.size(), static_cast<size_t>(kMaxNumericGroups));
  EXPECT_EQ(groups.back().High, 2147483647);
  EXPECT_EQ(FindNumericGroup(groups, 2147483647), &groups.back());
  EXPECT_EQ(FindNumericGroup(groups, -2147483648LL), &groups.front());
  std::vector<TCountResults> small = MakeNumericGroups(1, 0, 10, 4);
  EXPECT_EQ(FindNumericGroup(small, 10), nullptr);
  EXPECT_EQ(FindNumericGroup(small, -1), nullptr);
  EXPECT_EQ(FindNumericGroup(small, 5), &small[1]);
}

class ResultCountingTest : public testing::CoreTest {
 protected:
  ResultCountingTest() { survey_.SetFileName(dir_.File("s.qvx")); }

  int Add(int style, const std::vector<std::string>& options, bool other = false, int min = 0,
          int max = 10, int step = 4) {
    const int i = survey_.AddItem("Q", style, step, max, min, other, -1, JoinCommaText(options));
    return survey_.Item(i).ID;
  }
  void Create() { ASSERT_TRUE(table_.Create(survey_)); }
  void Append(const std::vector<std::pair<std::string, std::string>>& values) {
    table_.table().Append(values);
  }

  // Every entry as "id label=count", numeric entries with their statistics.
  std::string Printed() {
    std::string out;
    for (const auto& e : survey_.Results().Entries()) {
      if (auto* c = dynamic_cast<TCountResults*>(e.get())) {
        out +=
            std::to_string(c->QuestionID) + " " + c->Label + "=" + std::to_string(c->Count) + "\n";
      } else if (auto* n = dynamic_cast<TNumericResults*>(e.get())) {
        char line[160];
        std::snprintf(line, sizeof line, "%d n=%g total=%g avg=%g high=%g low=%g |", n->QuestionID,
                      n->Count, n->Total, n->Average, n->Highest, n->Lowest);
        out += line;
        for (const TCountResults& g : n->Groups)
          out += " " + g.Label + "=" + std::to_string(g.Count);
        out += "\n";
      }
    }
    return out;
  }

  TSurvey survey_{settings_};
  testing::ScriptedPrompts prompts_;
  TResponseTable table_{prompts_};
};

TEST_F(ResultCountingTest, CountsEveryStyleByItsRules) {
  const int single = Add(kStyleSingleChoice, {"1~Red", "2~Green", "Blue"}, true);
  const int multi = Add(kStyleMultipleChoice, {"a", "b"}, true);
  const int numeric = Add(kStyleNumeric, {}, false, 0, 10, 4);
  Add(kStyleText, {});
  survey_.AddItem("A header", kStyleHeader, 0, 0, 0, false, 0, "");
  Create();
  const std::string s = "QVX" + std::to_string(single), m = "QVX" + std::to_string(multi),
                    n = "QVX" + std::to_string(numeric);
  Append({{s, "0"}, {m + "_0", "Y"}, {m, "Y"}, {n, "10"}});  // 10 lies in no group
  Append({{s, "Oth"}, {m + "_1", "Y"}, {m + "_0", "N"}, {n, "-3"}});
  Append({{s, "OTH"}, {n, "-9999"}});
  Append({{s, "x"}, {m + "_0", "y"}, {n, "4"}});  // neither "x" nor "y" counts
  Append({{s, "2"}, {s + "OT", "typed"}});        // a blank number is left out
  Append({{s, "7"}, {n, "5"}});                   // an index beyond the options

  ASSERT_TRUE(ComputeResults(survey_, table_, prompts_));
  EXPECT_EQ(Printed(),
            "1 Red=1\n1 Green=0\n1 Blue=1\n1 Other=2\n"
            "2 a=1\n2 b=1\n2 Other=1\n"
            "3 n=4 total=16 avg=4 high=10 low=-3 | 0 to 4=1 5 to 9=1\n");
  EXPECT_TRUE(prompts_.log.empty());
  EXPECT_EQ(table_.table().Query(), "");
}

TEST_F(ResultCountingTest, AllInvalidNumbersKeepTheStartValues) {
  const int numeric = Add(kStyleNumeric, {}, false, 1, 10, 10);
  Create();
  for (int i = 0; i < 3; ++i) Append({{"QVX" + std::to_string(numeric), "-9999"}});
  ComputeResults(survey_, table_, prompts_);
  EXPECT_EQ(Printed(), "1 n=0 total=0 avg=0 high=0 low=-100000 | 1 to 11=0\n");
}

TEST_F(ResultCountingTest, AFilterThatEliminatesEveryRecordCountsThemAllAndStaysListed) {
  Add(kStyleSingleChoice, {"Yes", "No"});
  Add(kStyleNumeric, {}, false, 0, 100, 100);
  Create();
  Append({{"QVX1", "0"}, {"QVX2", "30"}});
  Append({{"QVX1", "1"}, {"QVX2", "40"}});
  survey_.ActiveFilter().AddChoiceCondition(survey_.Item(0), true, 0);
  ComputeResults(survey_, table_, prompts_);
  EXPECT_EQ(Printed(), "1 Yes=1\n1 No=0\n2 n=1 total=30 avg=30 high=30 low=30 | 0 to 100=1\n");
  EXPECT_EQ(table_.table().Query(), "QVX1=\"0\"");
  EXPECT_TRUE(prompts_.log.empty());
  EXPECT_FALSE(survey_.Results().FilterSetAside());
  EXPECT_EQ(CountedFilterExpression(survey_), "QVX1=\"0\"");

  survey_.ActiveFilter().AddNumericCondition(survey_.Item(1), kFilterGreaterThan, "35");
  ComputeResults(survey_, table_, prompts_);
  EXPECT_EQ(prompts_.log,
            std::vector<std::string>{"warning: The filter you defined eliminates all records.  "
                                     "Please try again."});
  EXPECT_EQ(Printed(), "1 Yes=1\n1 No=1\n2 n=2 total=70 avg=35 high=40 low=30 | 0 to 100=2\n");
  EXPECT_EQ(table_.table().Query(), "");
  EXPECT_EQ(survey_.ActiveFilter().Count(), 2);
  // Whatever lists answers beside these counts sets the filter aside too.
  EXPECT_TRUE(survey_.Results().FilterSetAside());
  EXPECT_EQ(CountedFilterExpression(survey_), "");
}

TEST_F(ResultCountingTest, AConditionOnAQuestionAddedAfterTheTableCountsEverything) {
  Add(kStyleSingleChoice, {"Yes", "No"});
  Create();
  Append({{"QVX1", "0"}});
  Add(kStyleSingleChoice, {"Later"});  // the table has no field for it
  survey_.ActiveFilter().AddChoiceCondition(survey_.Item(1), true, 0);
  ComputeResults(survey_, table_, prompts_);
  ASSERT_EQ(prompts_.log.size(), 1u);
  EXPECT_TRUE(prompts_.log[0].starts_with(
      "error: The filter you defined cannot be applied to the responses: "))
      << prompts_.log[0];
  EXPECT_EQ(Printed(), "1 Yes=1\n1 No=0\n2 Later=0\n");
  EXPECT_TRUE(survey_.Results().FilterSetAside());
}

TEST_F(ResultCountingTest, ATableDamagedWhileOpenGivesOneErrorAndNoCounts) {
  Add(kStyleSingleChoice, {"Yes", "No"});
  Create();
  for (int i = 0; i < 5000; ++i) Append({{"QVX1", i % 2 ? "0" : "1"}});
  table_.table().Commit();
  std::filesystem::resize_file(survey_.SRResponseFile(), 2000);
  EXPECT_FALSE(ComputeResults(survey_, table_, prompts_));
  ASSERT_EQ(prompts_.log.size(), 1u);
  EXPECT_TRUE(prompts_.log[0].starts_with("error: ")) << prompts_.log[0];
  EXPECT_TRUE(survey_.Results().Empty());
}

TEST_F(ResultCountingTest, WithoutAnOpenTableTheListStaysEmpty) {
  Add(kStyleSingleChoice, {"Yes", "No"});
  EXPECT_TRUE(ComputeResults(survey_, table_, prompts_));
  EXPECT_TRUE(survey_.Results().Empty());
}

}  // namespace
}  // namespace quorvant
