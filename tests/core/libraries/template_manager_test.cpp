#include "core/libraries/template_manager.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/libraries/response_template.h"
#include "core/shell/profile_file.h"
#include "support/scripted_prompts.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

using testing::ReadFileOrDie;
using testing::WriteFileOrDie;

class TemplateManagerTest : public testing::CoreTest {
 protected:
  int PositionOf(const std::string& name) const {
    for (size_t i = 0; i < manager_.Names().size(); ++i) {
      if (manager_.Names()[i] == name) return static_cast<int>(i);
    }
    return -1;
  }

  testing::ScriptedPrompts prompts_;
  TemplateManager manager_{prompts_, dir_.path() + "/"};
};

TEST_F(TemplateManagerTest, ValuesShowInFileOrderAndEditsRewriteKeysOneToN) {
  WriteFileOrDie(dir_.File("order.qvt"),
                 "[Details]\r\nTitle=Order\r\n[Values]\r\n2=two\r\n1=one\r\n3=\r\n"
                 "[Notes]\r\nkept=yes\r\n");
  WriteFileOrDie(dir_.File("untitled.qvt"), "[Values]\r\n1=a\r\n");
  manager_.ChooseType(TemplateManager::kResponseTemplates);
  ASSERT_EQ(manager_.Names().size(), 2u);
  ASSERT_GE(PositionOf("Unknown"), 0);
  manager_.Choose(PositionOf("Order"));
  EXPECT_EQ(manager_.Contents(), "two\none\n");
  EXPECT_FALSE(manager_.Edited());

  manager_.SetContents("v1\nv2\nv3\nv4\nv5");
  manager_.Choose(PositionOf("Unknown"));
  manager_.Choose(PositionOf("Order"));
  manager_.SetContents("v1\n\nv3\n");  // five lines down to three, one of them empty
  manager_.ChooseType(TemplateManager::kDisplayTemplates);
  const ProfileFile file = ProfileFile::LoadOrEmpty(dir_.File("order.qvt"));
  EXPECT_EQ(file.KeysOf("Values"), (std::vector<std::string>{"1", "2", "3"}));
  EXPECT_EQ(ReadResponseTemplate(dir_.File("order.qvt")).values,
            (std::vector<std::string>{"v1", "", "v3"}));
  EXPECT_EQ(file.ReadString("Notes", "kept", ""), "yes");
  EXPECT_TRUE(prompts_.log.empty());
}

TEST_F(TemplateManagerTest, LeavingAnUneditedTemplateWritesNothing) {
  const std::string text = "[Details]\nTitle = Spaced \n[Values]\n1=  x\n";
  WriteFileOrDie(dir_.File("a.qvt"), text);
  WriteFileOrDie(dir_.File("page.qvg"), "<html><!--QVXQUESTIONS--></html>");
  manager_.ChooseType(TemplateManager::kResponseTemplates);
  manager_.ChooseType(TemplateManager::kDisplayTemplates);
  EXPECT_EQ(manager_.Contents(), "<html><!--QVXQUESTIONS--></html>");
  manager_.SetContents("<html>changed</html>");
  manager_.WriteBack();
  manager_.ChooseType(TemplateManager::kResponseTemplates);
  EXPECT_EQ(ReadFileOrDie(dir_.File("a.qvt")), text);
  EXPECT_EQ(ReadFileOrDie(dir_.File("page.qvg")), "<html>changed</html>");
}

TEST_F(TemplateManagerTest, NewResponseTemplatesCountTitleCase) {
  WriteResponseTemplate(dir_.File("yesno.qvt"), {"Yes / No", {"Yes", "No"}});
  WriteResponseTemplate(dir_.File("rtemp0.qvt"), {"Zero", {}});
  WriteResponseTemplate(dir_.File("rtemp1.qvt"), {"One", {}});
  manager_.ChooseType(TemplateManager::kResponseTemplates);
  EXPECT_EQ(manager_.CreateResponseTemplate("Yes / No"), -1);
  EXPECT_EQ(manager_.CreateResponseTemplate("  "), -1);
  const int made = manager_.CreateResponseTemplate("yes / no");
  ASSERT_EQ(made, 3);
  EXPECT_EQ(manager_.Shown(), made);
  EXPECT_EQ(manager_.Paths()[3], dir_.File("rtemp2.qvt"));
  EXPECT_EQ(manager_.Contents(), "");
  EXPECT_EQ(ReadResponseTemplate(dir_.File("rtemp2.qvt")).title, "yes / no");
  EXPECT_EQ(prompts_.log, (std::vector<std::string>{
                              "error: Yes / No is already in use, please select another name",
                              "error: Please enter a name for the new template."}));
  // A gap left by a deleted template is filled first.
  manager_.Choose(PositionOf("Zero"));
  prompts_.confirm_answers = {true};
  EXPECT_TRUE(manager_.DeleteShown());
  EXPECT_EQ(prompts_.log.back(),
            "confirm(default no): Are you sure you want to delete the template named Zero");
  manager_.CreateResponseTemplate("Again");
  EXPECT_EQ(manager_.Paths()[static_cast<size_t>(manager_.Shown())], dir_.File("rtemp0.qvt"));
}

TEST_F(TemplateManagerTest, NewDisplayTemplatesGetTheirExtensionOnlyWhenMissing) {
  WriteFileOrDie(dir_.File("default.qvg"), "<html></html>");
  manager_.ChooseType(TemplateManager::kDisplayTemplates);
  manager_.SetContents("<html>edited</html>");
  ASSERT_GE(manager_.CreateDisplayTemplate(dir_.File("plain")), 0);
  EXPECT_EQ(ReadFileOrDie(dir_.File("default.qvg")), "<html>edited</html>");  // written first
  EXPECT_EQ(ReadFileOrDie(dir_.File("plain.qvg")), "");
  EXPECT_EQ(manager_.Names().back(), "plain.qvg");
  ASSERT_GE(manager_.CreateDisplayTemplate(dir_.File("UPPER.QVG")), 0);
  EXPECT_TRUE(std::filesystem::exists(dir_.File("UPPER.QVG")));
  EXPECT_FALSE(std::filesystem::exists(dir_.File("UPPER.QVG.qvg")));
  EXPECT_EQ(WithDisplayTemplateExtension("a.Qvg"), "a.Qvg");
  EXPECT_EQ(WithDisplayTemplateExtension("a.qvt"), "a.qvt.qvg");
  EXPECT_EQ(manager_.CreateDisplayTemplate(dir_.File("plain.qvg")), -1);
  EXPECT_EQ(manager_.CreateDisplayTemplate(dir_.File("nowhere/x")), -1);
  EXPECT_EQ(prompts_.log, (std::vector<std::string>{
                              "error: A display template with the name " + dir_.File("plain.qvg") +
                                  " already exists.  Please select another name.",
                              "error: An error occurred attempting to write the new template to "
                              "disk"}));
  EXPECT_EQ(manager_.Names().size(), 3u);
}

TEST_F(TemplateManagerTest, DeletingTheLastTemplateEmptiesListAndContents) {
  WriteResponseTemplate(dir_.File("only.qvt"), {"Only", {"a", "b"}});
  manager_.ChooseType(TemplateManager::kResponseTemplates);
  manager_.SetContents("dropped");
  prompts_.confirm_answers = {false, true};
  EXPECT_FALSE(manager_.DeleteShown());
  EXPECT_TRUE(manager_.DeleteShown());
  EXPECT_TRUE(manager_.Names().empty());
  EXPECT_EQ(manager_.Shown(), -1);
  EXPECT_EQ(manager_.Contents(), "");
  EXPECT_FALSE(std::filesystem::exists(dir_.File("only.qvt")));
}

TEST_F(TemplateManagerTest, FailuresAreReportedAndNothingIsLost) {
  WriteFileOrDie(dir_.File("page.qvg"), "<html></html>");
  WriteFileOrDie(dir_.File("gone.qvg"), "<html></html>");
  manager_.ChooseType(TemplateManager::kDisplayTemplates);
  const int page = manager_.Names()[0] == "page.qvg" ? 0 : 1;
  // A template that vanished before it is shown cannot be loaded; nothing
  // typed afterwards is written in its place.
  std::filesystem::remove(dir_.File("gone.qvg"));
  manager_.Choose(1 - page);
  EXPECT_EQ(manager_.Shown(), 1 - page);
  manager_.SetContents("typed");
  manager_.Choose(page);
  EXPECT_FALSE(std::filesystem::exists(dir_.File("gone.qvg")));
  // A folder in the file's place: the write-back fails with its message.
  std::filesystem::remove(dir_.File("page.qvg"));
  std::filesystem::create_directory(dir_.File("page.qvg"));
  manager_.SetContents("<html>new</html>");
  manager_.WriteBack();
  std::filesystem::remove(dir_.File("page.qvg"));
  // A file that cannot be deleted (here: already gone) is reported.
  prompts_.confirm_answers = {true};
  EXPECT_FALSE(manager_.DeleteShown());
  EXPECT_EQ(
      prompts_.log,
      (std::vector<std::string>{
          "error: Could not load display template for file " + dir_.File("gone.qvg"),
          "error: Could not update Display Template",
          "confirm(default no): Are you sure you want to delete the template named page.qvg",
          "error: An error occurred when attempting to delete page.qvg.  File not deleted."}));
}

TEST_F(TemplateManagerTest, ContentLinesDropOneTrailingBreak) {
  EXPECT_TRUE(ContentLines("").empty());
  EXPECT_EQ(ContentLines("\n"), std::vector<std::string>{""});
  EXPECT_EQ(ContentLines("a\r\nb\n\n"), (std::vector<std::string>{"a", "b", ""}));
  EXPECT_EQ(ContentLines("a"), std::vector<std::string>{"a"});
}

}  // namespace
}  // namespace quorvant
