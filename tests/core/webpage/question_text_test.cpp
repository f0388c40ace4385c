// The plain-text form of each item style, as items go to the clipboard.
#include "core/webpage/question_text.h"

#include <gtest/gtest.h>

#include "core/survey/survey.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

struct TextCase {
  const char* name;
  int style;
  const char* options;
  bool other;
  int length;
  std::string expected;
};

const std::string kOtherLine = "Other (Please specify): " + std::string(40, '_') + "\r\n";

const TextCase kCases[] = {
    {"single choice keeps the whole option line", kStyleSingleChoice, "\"Strongly agree~SA\",No",
     false, 0, "Q\r\n(Select only one)\r\n\r\n( ) Strongly agree~SA\r\n( ) No\r\n\r\n\r\n"},
    {"single choice with other", kStyleSingleChoice, "Yes", true, 0,
     "Q\r\n(Select only one)\r\n\r\n( ) Yes\r\n\r\n" + kOtherLine + "\r\n\r\n"},
    {"sliding scale", kStyleSlidingScale, "1,2", false, 0,
     "Q\r\n(Select only one)\r\n\r\n( ) 1\r\n( ) 2\r\n\r\n\r\n"},
    {"pulldown", kStylePulldown, "Mon", false, 0,
     "Q\r\n(Select only one)\r\n\r\n( ) Mon\r\n\r\n\r\n"},
    {"style code 0", 0, "Mon", false, 0, "Q\r\n(Select only one)\r\n\r\n( ) Mon\r\n\r\n\r\n"},
    {"multiple choice with other", kStyleMultipleChoice, "Tea,Water", true, 0,
     "Q\r\n(Select all that apply)\r\n\r\n[ ] Tea\r\n[ ] Water\r\n\r\n" + kOtherLine + "\r\n\r\n"},
    {"text of 5 characters", kStyleText, "", false, 5,
     "Q\r\n(Type in your response below)\r\n\r\n_____\r\n\r\n"},
    {"verbose text", kStyleText, "", false, -1,
     "Q\r\n(Type in your response below)\r\n\r\n\r\n\r\n\r\n\r\n"},
    {"text of absurd length is cut", kStyleText, "", false, 2000000000,
     "Q\r\n(Type in your response below)\r\n\r\n" + std::string(10000, '_') + "\r\n\r\n"},
    {"numeric", kStyleNumeric, "", false, 0,
     "Q\r\n(Please enter the value below)\r\n\r\n______\r\n\r\n"},
    {"header", kStyleHeader, "", false, 0, "---[ Q]---\r\n\r\n"},
};

TEST(QuestionText, EveryStyle) {
  testing::TempDir dir;
  SettingsStore settings(dir.File("settings.ini"));
  TSurvey survey(settings);
  for (const TextCase& c : kCases) {
    SCOPED_TRACE(c.name);
    survey.Clear();
    TQuestion q;
    q.Text = "Q";
    q.Style = c.style;
    q.Options = c.options;
    q.IncludeOther = c.other;
    q.LengthOfResponse = c.length;
    survey.AddLoadedItem(q);
    EXPECT_EQ(RenderQuestionText(survey, 0), c.expected);
  }
}

}  // namespace
}  // namespace quorvant
