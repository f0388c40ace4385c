// The shipped display templates: where they are found, how they reach the
// data folder, and that each one carries what a working survey page needs.
#include "core/webpage/shipped_templates.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "core/shell/text_helpers.h"
#include "core/survey/question_list.h"
#include "core/survey/survey.h"
#include "core/webpage/page_generator.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

using testing::ReadFileOrDie;
using testing::WriteFileOrDie;

const std::string kSourceData = std::string(QUORVANT_SOURCE_DIR) + "/data/";

struct TemplateCase {
  const char* file;
  bool gotos, bold, style2;
};
const TemplateCase kTemplates[] = {
    {"default.qvg", false, false, false},
    {"compact.qvg", false, false, true},
    {"guided.qvg", true, true, false},
};

class ShippedTemplatesTest : public testing::CoreTest {
 protected:
  std::string data_dir() const { return dir_.File("data") + "/"; }
};

TEST_F(ShippedTemplatesTest, CopiesMissingTemplatesAndNeverOverwrites) {
  EXPECT_EQ(InstallShippedTemplates(kSourceData, data_dir()), 3);
  for (const TemplateCase& t : kTemplates) {
    EXPECT_EQ(ReadFileOrDie(data_dir() + t.file),
              ReadFileOrDie(kSourceData + "templates/" + t.file));
  }
  WriteFileOrDie(data_dir() + "default.qvg", "mine");
  std::filesystem::remove(data_dir() + "guided.qvg");
  EXPECT_EQ(InstallShippedTemplates(kSourceData, data_dir()), 1);
  EXPECT_EQ(ReadFileOrDie(data_dir() + "default.qvg"), "mine");
  EXPECT_TRUE(std::filesystem::exists(data_dir() + "guided.qvg"));
}

TEST_F(ShippedTemplatesTest, NothingToCopyFromIsNotAnError) {
  EXPECT_EQ(InstallShippedTemplates("", data_dir()), 0);
  EXPECT_EQ(InstallShippedTemplates(dir_.File("nowhere"), data_dir()), 0);
}

TEST_F(ShippedTemplatesTest, TheEnvironmentNamesTheSharedFolder) {
  const char* old = std::getenv("QUORVANT_SHARE_DIR");
  const std::string saved = old ? old : "";
  ::setenv("QUORVANT_SHARE_DIR", "/opt/qv/share", 1);
  EXPECT_EQ(ShippedDataDirectory(), "/opt/qv/share/");
  ::unsetenv("QUORVANT_SHARE_DIR");
  // From a build tree the source tree's data folder is found.
  EXPECT_TRUE(std::filesystem::exists(ShippedDataDirectory() + "templates/default.qvg"));
  if (old) ::setenv("QUORVANT_SHARE_DIR", saved.c_str(), 1);
}

// Each template gives a complete form for the example survey: every text
// marker replaced, the hidden fields and the end anchor present.
TEST_F(ShippedTemplatesTest, EachTemplateMakesACompleteForm) {
  InstallShippedTemplates(kSourceData, data_dir());
  for (const TemplateCase& t : kTemplates) {
    SCOPED_TRACE(t.file);
    TSurvey survey(settings_);
    survey.Load(kSourceData + "examples/example.qvx");
    survey.SetProcessResponses(1);
    survey.SetOnly1Email(true);
    RebuildQuestionList(survey);
    // Without its skip group the survey shows the template's own switches.
    for (int i = 0; i < survey.ItemCount(); ++i) {
      survey.Item(i).SkipGroupOfQuestion = survey.Item(i).SkipGroupOfResponse = -1;
    }
    survey.SetDisplayTemplate(t.file);
    const std::string out = dir_.File("page.htm");
    ASSERT_TRUE(GeneratePage(survey, data_dir(), out));
    EXPECT_EQ(survey.IncludeGotos, t.gotos);
    EXPECT_EQ(survey.BoldQuestions, t.bold);
    EXPECT_EQ(survey.QStyle2, t.style2);
    const std::string page = ReadFileOrDie(out);
    std::string left = page;
    for (const char* kept :
         {"<!--QVXINCLUDEGOTOS-->", "<!--QVXBOLDQUESTIONS-->", "<!--QVXQSTYLE2-->"}) {
      left = ReplaceAll(left, kept, "");
    }
    EXPECT_EQ(left.find("<!--QVX"), std::string::npos) << "a marker was not replaced";
    EXPECT_NE(page.find("<title>Staff Canteen Satisfaction Survey</title>"), std::string::npos);
    EXPECT_NE(page.find("action=\"" + survey.EffectiveServerURL() + "\""), std::string::npos);
    EXPECT_NE(page.find("name=\"QVXSURVEYFILE\" value=\"S261208101500\""), std::string::npos);
    EXPECT_NE(page.find("name=\"QVXACCOUNTID\" value=\"facilities\""), std::string::npos);
    EXPECT_NE(page.find("name=\"QVXRESULTURL\" value=\"\""), std::string::npos);
    EXPECT_NE(page.find("NAME=\"QVXEMAILADDRESS\""), std::string::npos);
    EXPECT_NE(page.find("name=\"EndOfSurvey\""), std::string::npos);
    EXPECT_NE(page.find("type=\"submit\""), std::string::npos);
    EXPECT_NE(page.find("This survey was produced with"), std::string::npos);
    EXPECT_EQ(page.find("<script"), std::string::npos);
  }
}

}  // namespace
}  // namespace quorvant
