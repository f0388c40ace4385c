#include "core/libraries/library_files.h"

#include <gtest/gtest.h>

#include "core/survey/survey.h"
#include "core/survey/survey_copy.h"
#include "core/survey/survey_exception.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

class LibraryFilesTest : public testing::CoreTest {};

TEST_F(LibraryFilesTest, TemplatesAreSortedWithoutRegardToCase) {
  for (const char* name : {"b.qvt", "A.qvt", "c.QVT", "notes.txt"}) {
    testing::WriteFileOrDie(dir_.File(name), "");
  }
  const std::vector<std::string> names = ListResponseTemplates(dir_.path() + "/");
  EXPECT_EQ(names, (std::vector<std::string>{"A.qvt", "b.qvt", "c.QVT"}));
  EXPECT_TRUE(ListResponseTemplates(dir_.File("missing/")).empty());
}

// "Answer required" goes with the question, into the library file and back.
TEST_F(LibraryFilesTest, AppendingCopiesTheItemsWithoutSkipSettings) {
  TSurvey library(settings_);
  library.SetName("Computers");
  library.AddItem("Existing", kStyleText, 0, 0, 0, false, -1, "");
  library.SaveAs(dir_.File("computer.qvl"));
  ASSERT_EQ(ListQuestionLibraries(dir_.path() + "/"),
            std::vector<std::string>{dir_.File("computer.qvl")});
  EXPECT_EQ(QuestionLibraryName(dir_.File("computer.qvl")), "Computers");
  EXPECT_EQ(QuestionLibraryName(dir_.File("none.qvl")), "Unknown");

  TSurvey s(settings_);
  s.AddItem("Skip", kStyleSingleChoice, 0, 0, 0, false, -1, "a,b");
  s.AddItem("Other", kStyleNumeric, 1, 9, 1, false, -1, "");
  s.Item(0).SkipGroupOfResponse = 0;
  s.SetItemRequired(1, true);
  AppendToQuestionLibrary(dir_.File("computer.qvl"), s, {0, 1}, settings_);
  TSurvey back(settings_);
  back.Load(dir_.File("computer.qvl"));
  ASSERT_EQ(back.ItemCount(), 3);
  EXPECT_EQ(back.Item(1).Text, "Skip");
  EXPECT_EQ(back.Item(1).SkipGroupOfResponse, -1);
  EXPECT_EQ(back.Item(2).MaxValue, 9);
  EXPECT_FALSE(back.Item(1).Required);
  EXPECT_TRUE(back.Item(2).Required);
  TSurvey inserted(settings_);
  AppendPlainCopy(inserted, back.Item(2));
  EXPECT_TRUE(inserted.Item(0).Required);
  EXPECT_THROW(AppendToQuestionLibrary(dir_.File("none.qvl"), s, {0}, settings_), ESurveyException);
}

}  // namespace
}  // namespace quorvant
