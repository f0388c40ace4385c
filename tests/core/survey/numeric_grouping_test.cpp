#include "core/survey/numeric_grouping.h"

#include <gtest/gtest.h>

namespace quorvant {
namespace {

struct RangeCase {
  const char* min;
  const char* max;
  int step;
  int groups;
};

TEST(NumericGroupingTest, RangeGivesStepAndGroups) {
  const RangeCase cases[] = {
      {"1", "10", 10, 1}, {"1", "100", 9, 11},      {"5", "10", 2, 2},  // 2.5 rounds to even
      {"0", "50", 4, 12}, {"10", "5", 1, 1},        {"3", "0", 1, 1},
      {" 1 ", "", 10, 1}, {"", "", 10, 1},          {"2", "7", 3, 2},  // 1.67 rounds up
      {"10", "15", 1, 5}, {"1", "99999", 9999, 10},
  };
  for (const RangeCase& c : cases) {
    const NumericGrouping g = GroupingForRange(c.min, c.max);
    EXPECT_EQ(g.step, c.step) << c.min << " to " << c.max;
    EXPECT_EQ(g.groups, c.groups) << c.min << " to " << c.max;
  }
}

TEST(NumericGroupingTest, StepGivesGroupsRoundedHalfToEven) {
  EXPECT_EQ(GroupsForStep("1", "10", "2"), 4);  // 4.5
  EXPECT_EQ(GroupsForStep("1", "12", "2"), 6);  // 5.5
  EXPECT_EQ(GroupsForStep("1", "10", "0"), 1);
  EXPECT_EQ(GroupsForStep("1", "10", ""), 1);  // blank step counts as 10
  EXPECT_EQ(GroupsForStep("0", "100", "33"), 3);
}

TEST(NumericGroupingTest, FieldNumberTrimsAndFallsBack) {
  EXPECT_EQ(FieldNumber(" 42 ", 0), 42);
  EXPECT_EQ(FieldNumber("", 7), 7);
  EXPECT_EQ(FieldNumber("4x", 7), 7);
}

}  // namespace
}  // namespace quorvant
