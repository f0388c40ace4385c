// What the Analysis page reads besides the counts: the texts above a
// question's chart, and the records a view shows, found a screenful at a
// time in the table's order under its query and view filter.
#include <gtest/gtest.h>

#include "core/analysis/question_view_texts.h"
#include "core/analysis/results.h"
#include "core/analysis/visible_records.h"
#include "core/responses/response_table.h"
#include "core/survey/comma_text.h"
#include "core/survey/survey.h"
#include "support/scripted_prompts.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

TEST(QuestionViewTextsTest, TypeLinesAndAverages) {
  EXPECT_EQ(AverageText(0), "Average:     0");
  EXPECT_EQ(AverageText(33.6), "Average:    34");
  EXPECT_EQ(AverageText(123456), "Average: 123456");
  const struct {
    int style;
    const char* line;
  } cases[] = {{kStyleSingleChoice, "Type: Single Choice"},
               {kStyleMultipleChoice, "Type: Multiple Choice"},
               {kStyleSlidingScale, "Type: Sliding Scale"},
               {kStyleText, "Type: Text"},
               {kStylePulldown, "Type: Single Choice / Pulldown"},
               {kStyleNumeric, "Type: Numeric Value\r\nAverage:     7"},
               {kStyleHeader, ""}};
  for (const auto& c : cases) {
    TQuestion q;
    q.Style = c.style;
    EXPECT_EQ(TypeLine(q, AverageText(7)), c.line) << c.style;
  }
  // The title takes the question's own average, or keeps the previous one.
  TQuestion numeric;
  numeric.Style = kStyleNumeric;
  numeric.ID = 4;
  numeric.Text = "Age";
  TResultsList results;
  EXPECT_EQ(ChartTitle(numeric, results, AverageText(9)),
            "Age\r\nType: Numeric Value\r\nAverage:     9");
  results.Add(std::make_unique<TNumericResults>(4)).Average = 41.5;
  EXPECT_EQ(ChartTitle(numeric, results), "Age\r\nType: Numeric Value\r\nAverage:    42");
}

class VisibleRecordsTest : public testing::CoreTest {};

TEST_F(VisibleRecordsTest, ScreenfulsFollowTheOrderQueryAndFilter) {
  TSurvey survey(settings_);
  survey.SetFileName(dir_.File("s.qvx"));
  survey.AddItem("Why?", kStyleText, 0, 0, 0, false, 10, "");
  testing::ScriptedPrompts prompts;
  TResponseTable responses(prompts);
  ASSERT_TRUE(responses.Create(survey));
  Table& t = responses.table();
  for (int i = 0; i < 1000; ++i) {
    // Addresses descend, so the EMAIL order runs backwards through the file.
    char email[32];
    std::snprintf(email, sizeof email, "r%04d@example.org", 999 - i);
    t.Append({{"EMAIL", email}, {"QVX1", i % 3 == 0 ? "" : "answer"}});
  }
  t.Commit();
  t.SetQuery("RECNO() > 100");
  t.SetFilter("LEFT( QVX1, 1) > \" \"");
  // The reference: every record, walked by hand in the same order.
  std::vector<uint32_t> expected;
  for (uint32_t r = 1000; r > 100; --r) {
    if ((r - 1) % 3 != 0) expected.push_back(r);
  }
  VisibleRecords records(t);
  size_t total = 0;
  for (int screen = 0; screen < 20 && !records.AtEnd(); ++screen) {
    total += records.Fetch(50);
    t.GoTo(1);  // another reader moves the table in between
  }
  EXPECT_TRUE(records.AtEnd());
  EXPECT_EQ(total, expected.size());
  EXPECT_EQ(records.Found(), expected);
  EXPECT_EQ(records.Fetch(50), 0u);
  records.Restart();
  EXPECT_EQ(records.Fetch(3), 3u);
  EXPECT_EQ(records.Found(), std::vector<uint32_t>(expected.begin(), expected.begin() + 3));
}

}  // namespace
}  // namespace quorvant
