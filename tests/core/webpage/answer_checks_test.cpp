// When the page gets the answer-check script, and what it lists. What the
// script does in a browser is tested end to end in tests/e2e.
#include "core/webpage/answer_checks.h"

#include <gtest/gtest.h>

#include "core/survey/survey.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

class AnswerChecksTest : public testing::CoreTest {
 protected:
  int Add(int style, bool required) {
    const int i = survey_.AddItem("Q", style, 1, 10, 0, false, 10, "a,b");
    survey_.SetItemRequired(i, required);
    return i;
  }
  // The two lists the script opens with, or "none" without a script.
  std::string Lists() const {
    const std::string script = AnswerCheckScript(survey_);
    if (script.empty()) return "none";
    const size_t start = script.find("var boxes");
    return script.substr(start, script.find("function named") - start);
  }
  TSurvey survey_{settings_};
};

TEST_F(AnswerChecksTest, ScriptOnlyWhereTheAttributeCannotSayItAlone) {
  for (int style :
       {kStyleSingleChoice, kStyleSlidingScale, kStyleText, kStylePulldown, kStyleNumeric}) {
    Add(style, true);
  }
  Add(kStyleMultipleChoice, false);
  Add(kStyleHeader, true);  // a header's flag means nothing
  EXPECT_EQ(Lists(), "none");

  Add(kStyleMultipleChoice, true);  // ID 8
  EXPECT_EQ(Lists(), "var boxes = [8];\r\nvar groups = [];\r\n");

  // A group counts once one of its members is required; its head may be too.
  survey_.Clear();
  const int head = Add(kStyleSingleChoice, true);
  const int member = Add(kStyleText, false);
  Add(kStyleNumeric, false);
  Add(kStyleNumeric, false);
  survey_.Item(head).SkipGroupOfResponse = 1;
  for (int i : {1, 2}) survey_.Item(i).SkipGroupOfQuestion = survey_.Item(head).ID;
  EXPECT_EQ(Lists(), "none");
  survey_.SetItemRequired(member, true);
  EXPECT_EQ(Lists(), "var boxes = [];\r\nvar groups = [[1, \"1\", [2, 3]]];\r\n");
}

TEST_F(AnswerChecksTest, AttributeAndMarkerForRequiredQuestionsButCheckBoxesAndHeaders) {
  TQuestion q;
  std::string seen;
  for (int style = kStyleSingleChoice; style <= kStyleHeader; ++style) {
    q.Style = style;
    for (bool required : {false, true}) {
      q.Required = required;
      seen += std::to_string(style) + (required ? "r" : "-") + ":" + RequiredAttribute(q) + "|" +
              RequiredMarker(q) + "\n";
    }
  }
  const std::string marker = "<SPAN CLASS=\"qvxrequired\" TITLE=\"Answer required\"> *</SPAN>";
  EXPECT_EQ(seen, "1-:|\n1r: REQUIRED|" + marker + "\n2-:|\n2r:|" + marker +
                      "\n3-:|\n3r: REQUIRED|" + marker + "\n4-:|\n4r: REQUIRED|" + marker +
                      "\n5-:|\n5r: REQUIRED|" + marker + "\n6-:|\n6r: REQUIRED|" + marker +
                      "\n7-:|\n7r:|\n");
}

}  // namespace
}  // namespace quorvant
