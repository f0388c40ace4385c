// Preview pages: recorded like any generation, but a survey never generated
// stays so, and a borrowed template is given back.
#include "core/webpage/page_preview.h"

#include <gtest/gtest.h>

#include "core/survey/survey.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

using testing::ReadFileOrDie;
using testing::WriteFileOrDie;

class PagePreviewTest : public testing::CoreTest {
 protected:
  PagePreviewTest() {
    WriteFileOrDie(dir_.File("own.qvg"), "<HTML>OWN<!--QVXTITLE--></HTML>");
    WriteFileOrDie(dir_.File("other.qvg"), "<HTML>OTHER<!--QVXTITLE--></HTML>");
    survey_.SetDisplayTemplate("own.qvg");
    survey_.SetName("Canteen");
  }

  TSurvey survey_{settings_};
  std::string out_ = dir_.File("preview.htm");
};

TEST_F(PagePreviewTest, NeverGeneratedSurveyStaysUngenerated) {
  EXPECT_TRUE(GeneratePreviewPage(survey_, dir_.path(), out_));
  EXPECT_NE(ReadFileOrDie(out_).find("OWNCanteen"), std::string::npos);
  EXPECT_EQ(survey_.HTMLStatus(), "HTML file not generated");
  EXPECT_EQ(survey_.HTMLFileName(), out_);
}

TEST_F(PagePreviewTest, GeneratedSurveyRecordsThePreview) {
  survey_.SetHTMLStatus("HTML file generated at 01/01/1998");
  EXPECT_TRUE(GeneratePreviewPage(survey_, dir_.path(), out_));
  EXPECT_EQ(survey_.HTMLStatus(), "HTML file generated at 12/03/1998 14:15:02");
}

TEST_F(PagePreviewTest, FailedPreviewOfANeverGeneratedSurveyStaysUngenerated) {
  EXPECT_FALSE(GeneratePreviewPage(survey_, dir_.path(), dir_.File("no/such/folder/p.htm")));
  EXPECT_EQ(survey_.HTMLStatus(), "HTML file not generated");
}

TEST_F(PagePreviewTest, BorrowedTemplateIsGivenBack) {
  EXPECT_TRUE(GeneratePreviewPageWith(survey_, "other.qvg", dir_.path(), out_));
  EXPECT_NE(ReadFileOrDie(out_).find("OTHERCanteen"), std::string::npos);
  EXPECT_EQ(survey_.DisplayTemplate(), "own.qvg");
  EXPECT_EQ(survey_.HTMLStatus(), "HTML file not generated");
}

}  // namespace
}  // namespace quorvant
