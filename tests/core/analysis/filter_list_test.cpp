// The analysis filter: the expression and sentence of every condition form,
// the joined expression, editing the list, the numbers a numeric condition
// takes, and the command-line conditions that go through the same list.
#include "core/analysis/filter_list.h"

#include <gtest/gtest.h>

#include "core/analysis/filter_condition.h"
#include "core/survey/comma_text.h"
#include "core/survey/survey.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

TQuestion Question(int id, int style, const std::vector<std::string>& options = {}) {
  TQuestion q;
  q.ID = id;
  q.Style = style;
  q.Text = "Your <b>choice</b>";
  q.SetOptionLines(options);
  return q;
}

TEST(FilterListTest, EveryConditionFormAndItsSentence) {
  const TQuestion single = Question(3, kStyleSingleChoice, {"Yes", "No", "x~Maybe"});
  const TQuestion pulldown = Question(4, kStylePulldown, {"a"});
  const TQuestion multi = Question(7, kStyleMultipleChoice, {"r", "g", "Blue"});
  const TQuestion numeric = Question(9, kStyleNumeric);
  TFilterList f;
  EXPECT_EQ(f.AddChoiceCondition(single, true, 2), 0);
  f.AddChoiceCondition(single, false, 0);
  f.AddChoiceCondition(pulldown, true, 0);
  f.AddChoiceCondition(multi, true, 2);
  f.AddChoiceCondition(multi, false, 1);
  f.AddNumericCondition(numeric, kFilterGreaterThan, "30");
  f.AddNumericCondition(numeric, kFilterLessThan, "-2.5");
  f.AddNumericCondition(numeric, kFilterEqualTo, "7");
  EXPECT_EQ(f.AddNumericCondition(numeric, 5, "8"), 8);  // any other operator is "equal to"
  std::string printed;
  for (int i = 0; i < f.Count(); ++i) {
    printed += f.Expressions()[i] + " | " + f.Descriptions()[i] + "\n";
  }
  EXPECT_EQ(printed,
            "QVX3=\"2\" | Selected \"Maybe\" in \"Your <b>choice</b>\"\n"
            "QVX3<>\"0\" | Did not select \"Yes\" in \"Your <b>choice</b>\"\n"
            "QVX4=\"0\" | Selected \"a\" in \"Your <b>choice</b>\"\n"
            "QVX7_2=\"Y\" | Selected \"Blue\" in \"Your <b>choice</b>\"\n"
            "QVX7_1=\"N\" | Did not select \"g\" in \"Your <b>choice</b>\"\n"
            "QVX9>30 | Response greater than \"30\" in \"Your <b>choice</b>\"\n"
            "QVX9<-2.5 | Response less than \"-2.5\" in \"Your <b>choice</b>\"\n"
            "QVX9=7 | Response is equal to \"7\" in \"Your <b>choice</b>\"\n"
            "QVX9=8 | Response is equal to \"8\" in \"Your <b>choice</b>\"\n");
}

TEST(FilterListTest, JoiningDeletingClearingAndCopying) {
  const TQuestion multi = Question(7, kStyleMultipleChoice, {"r", "g", "b"});
  TFilterList f;
  EXPECT_EQ(f.FilterExpression(), "");
  f.AddChoiceCondition(multi, true, 2);
  f.AddChoiceCondition(multi, false, 0);
  f.AddChoiceCondition(multi, true, 2);  // the same twice is allowed
  EXPECT_EQ(f.FilterExpression(), "QVX7_2=\"Y\" .AND. QVX7_0=\"N\" .AND. QVX7_2=\"Y\"");
  f.Delete(1);
  f.Delete(7);  // outside the list: nothing
  EXPECT_EQ(f.FilterExpression(), "QVX7_2=\"Y\" .AND. QVX7_2=\"Y\"");
  TFilterList copy;
  copy.AddChoiceCondition(multi, true, 0);
  copy.Assign(f);
  std::vector<std::string> lines{"stale"};
  EXPECT_EQ(copy.GetDescriptions(lines), 2);
  EXPECT_EQ(lines, std::vector<std::string>(2, "Selected \"b\" in \"Your <b>choice</b>\""));
  f.Clear();
  EXPECT_EQ(f.Count(), 0);
  EXPECT_EQ(f.FilterExpression(), "");
  EXPECT_EQ(copy.Count(), 2);
}

TEST(FilterListTest, OnlyNumbersReachANumericCondition) {
  const struct {
    const char* text;
    bool number;
  } cases[] = {{"30", true},  {"-4", true},     {"+4", true},    {"2.5", true},
               {".5", true},  {"5.", true},     {"", false},     {"-", false},
               {".", false},  {"1e3", false},   {" 3", false},   {"3 ", false},
               {"3-", false}, {"1.2.3", false}, {"0x10", false}, {"4 .OR. .T.", false},
               {"\"", false}};
  const TQuestion numeric = Question(2, kStyleNumeric);
  // Beyond the range of a double, which the expression would refuse.
  const std::string huge = std::string(400, '9'), tiny = "0." + std::string(400, '0') + "1";
  EXPECT_FALSE(IsFilterNumber(huge));
  EXPECT_FALSE(IsFilterNumber("-" + tiny));
  EXPECT_TRUE(IsFilterNumber(std::string(300, '9')));
  for (const auto& c : cases) {
    EXPECT_EQ(IsFilterNumber(c.text), c.number) << c.text;
    TFilterList f;
    EXPECT_EQ(f.AddNumericCondition(numeric, kFilterEqualTo, c.text), c.number ? 0 : -1) << c.text;
    EXPECT_EQ(f.Count(), c.number ? 1 : 0);
  }
}

// The note beside the value box says why a value cannot be added.
TEST(FilterListTest, AValueThatIsNoPlainNumberSaysWhy) {
  const struct {
    const char* text;
    const char* problem;
  } cases[] = {
      {"30", ""},
      {"-2.5", ""},
      {"", ""},
      {" 30", "Type the number without blanks before or after it."},
      {"30 ", "Type the number without blanks before or after it."},
      {"30,5", "Use a point, not a comma, before the decimals (30.5)."},
      {"1e3", "Write the number out in digits, without an exponent (1000, not 1e3)."},
      {"-2.5E2", "Write the number out in digits, without an exponent (1000, not 1e3)."},
      {"thirty", "Enter a plain number, such as 30 or -2.5."},
      {"3 .OR. .T.", "Enter a plain number, such as 30 or -2.5."},
      {"-", "Enter a plain number, such as 30 or -2.5."},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FilterNumberProblem(c.text), c.problem) << c.text;
    // A problem exactly when the value cannot be added.
    EXPECT_EQ(FilterNumberProblem(c.text).empty(), *c.text == 0 || IsFilterNumber(c.text));
  }
  EXPECT_EQ(FilterNumberProblem(std::string(400, '9')), "The number is too large.");
}

class FilterConditionTest : public testing::CoreTest {
 protected:
  FilterConditionTest() {
    survey_.AddItem("Smoke?", kStyleSingleChoice, 0, 0, 0, false, 0, JoinCommaText({"Y", "N"}));
    survey_.AddItem("Age", kStyleNumeric, 10, 99, 0, false, 0, "");
    survey_.AddItem("Why?", kStyleText, 0, 0, 0, false, -1, "");
    survey_.AddItem("Which?", kStyleMultipleChoice, 0, 0, 0, true, 0, JoinCommaText({"a", "b"}));
  }
  TSurvey survey_{settings_};
};

TEST_F(FilterConditionTest, CommandLineConditionsMakeTheDialogsExpressions) {
  TFilterList f;
  for (const char* c : {"1=0", "1!=1", "2>30", "2<-1.5", "2=40", "4=1", "4!=0"}) {
    EXPECT_EQ(AddFilterCondition(survey_, c, f), "") << c;
  }
  EXPECT_EQ(f.FilterExpression(),
            "QVX1=\"0\" .AND. QVX1<>\"1\" .AND. QVX2>30 .AND. QVX2<-1.5 .AND. QVX2=40 .AND. "
            "QVX4_1=\"Y\" .AND. QVX4_0=\"N\"");
}

TEST_F(FilterConditionTest, BadConditionsNameThemselvesAndAddNothing) {
  const struct {
    const char* condition;
    const char* message;
  } cases[] = {
      {"9=0", "the condition '9=0' names no question with ID 9"},
      {"3=0",
       "the condition '3=0': question 3 is a Text question or a header, which takes no "
       "conditions"},
      {"2>abc", "the condition '2>abc': 'abc' is not a number"},
      {"2>3 .OR. .T.", "the condition '2>3 .OR. .T.': '3 .OR. .T.' is not a number"},
      {"2!=3", "the condition '2!=3': a Numeric question takes >, < or ="},
      {"1>0", "the condition '1>0': a choice question takes = or !="},
      {"1=2", "the condition '1=2': '2' is no option index of question 1 (0 to 1)"},
      {"1=-1", "the condition '1=-1': '-1' is no option index of question 1 (0 to 1)"},
      {"4=2", "the condition '4=2': '2' is no option index of question 4 (0 to 1)"},
      {"x=1", "the condition 'x=1' is not ID=K, ID!=K, ID>V, ID<V or ID=V"},
      {"1", "the condition '1' is not ID=K, ID!=K, ID>V, ID<V or ID=V"},
      {"1~0", "the condition '1~0' is not ID=K, ID!=K, ID>V, ID<V or ID=V"},
  };
  for (const auto& c : cases) {
    TFilterList f;
    EXPECT_EQ(AddFilterCondition(survey_, c.condition, f), c.message);
    EXPECT_EQ(f.Count(), 0) << c.condition;
  }
}

}  // namespace
}  // namespace quorvant
