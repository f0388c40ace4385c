#include "collector/result_text.h"

#include <gtest/gtest.h>

#include "core/shell/text_helpers.h"
#include "core/survey/comma_text.h"

namespace quorvant::collector {
namespace {

TEST(ResultText, ExactLines) {
  const std::vector<Submission> submissions = {
      {"20261208101500",
       "10.0.0.7",
       "Mozilla/5.0 (X11; Linux)",
       {{"QVXSURVEYFILE", "S1"},
        {"qvx1", "0"},
        {"qvx2", "a, \"b\"\r\nc"},
        {"QVXACCOUNTID", "NA"},
        {"QVXRESULTURL", ""},
        {"QVXEMAILADDRESS", "x@y.z"}}},
      {"20261208101501", "::1", "", {}},
  };
  EXPECT_EQ(ResultText(submissions),
            "<DATA>\r\n"
            "RemoteAddr=10.0.0.7,\"UserAgent=Mozilla/5.0 (X11; Linux)\",DateRec=20261208101500,"
            "qvx1=0,\"qvx2=a, \"\"b\"\"&CR;&LF;c\",QVXEMAILADDRESS=x@y.z\r\n"
            "RemoteAddr=::1,UserAgent=,DateRec=20261208101501\r\n"
            "</DATA>\r\n");
  EXPECT_EQ(ResultText({}), "<DATA>\r\n</DATA>\r\n");
  EXPECT_EQ(ErrorText("Bad\r\nthing"), "<ERROR>\r\nBad&CR;&LF;thing\r\n");
}

// Whatever a respondent types, each submission stays one line whose items
// the author's reader splits back into the posted values.
TEST(ResultText, HostileValuesStayOnTheirLine) {
  std::string nasty = "\"\",,\t x=y \x01\x1f\x7f</DATA>\r\n<DATA>";
  nasty += '\0';
  nasty += "tail";
  const std::string text = ResultText({{"20261208101500", "1.2.3.4", nasty, {{"qvx9", nasty}}}});
  const std::vector<std::string> lines = SplitLines(text);
  ASSERT_EQ(lines.size(), 3u);
  const std::vector<std::string> items = SplitCommaText(lines[1]);
  ASSERT_EQ(items.size(), 4u);
  std::string expected = ReplaceAll(ReplaceAll(nasty, "\r", "&CR;"), "\n", "&LF;");
  expected.erase(expected.find('\0'), 1);
  EXPECT_EQ(items[1], "UserAgent=" + expected);
  EXPECT_EQ(items[3], "qvx9=" + expected);
}

}  // namespace
}  // namespace quorvant::collector
