// The page of a survey file that neither checks answers nor requires any is
// byte for byte the page the generator wrote before either existed. The
// golden pages in data/page_golden were written by that generator from the
// survey and the display templates beside them (copies of the shipped ones
// as they were then, so that later changes to the shipped look do not move
// the reference).
#include <gtest/gtest.h>

#include "core/survey/question_list.h"
#include "core/survey/survey.h"
#include "core/webpage/page_generator.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

using testing::ReadFileOrDie;

const std::string kGoldenDir =
    std::string(QUORVANT_SOURCE_DIR) + "/tests/core/webpage/data/page_golden";

// The page without its first line, which names the program's version.
std::string WithoutVersionLine(const std::string& page) {
  const size_t end = page.find("\r\n");
  EXPECT_NE(end, std::string::npos);
  EXPECT_TRUE(page.starts_with("<!-- Created with Quorvant "));
  return page.substr(end + 2);
}

class PageGoldenTest : public testing::CoreTest,
                       public ::testing::WithParamInterface<const char*> {};

TEST_P(PageGoldenTest, AnUncheckedSurveyWithoutRequiredQuestionsGivesTheSamePage) {
  const std::string name = GetParam();
  TSurvey survey(settings_);
  survey.Load(kGoldenDir + "/survey.qvx");
  ASSERT_FALSE(survey.CheckAnswers());
  for (const TQuestion& q : survey.Items()) ASSERT_FALSE(q.Required) << q.ID;
  survey.SetDisplayTemplate(name + ".qvg");
  RebuildQuestionList(survey);  // as every caller does before a page
  const std::string out = dir_.File(name + ".htm");
  ASSERT_TRUE(GeneratePage(survey, kGoldenDir, out));
  EXPECT_EQ(WithoutVersionLine(ReadFileOrDie(out)),
            WithoutVersionLine(ReadFileOrDie(kGoldenDir + "/" + name + ".htm")));
}

INSTANTIATE_TEST_SUITE_P(Templates, PageGoldenTest,
                         ::testing::Values("default", "compact", "guided"));

}  // namespace
}  // namespace quorvant
