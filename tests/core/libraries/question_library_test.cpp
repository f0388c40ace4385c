#include "core/libraries/question_library.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/libraries/library_files.h"
#include "core/shell/text_helpers.h"
#include "core/survey/survey.h"
#include "support/scripted_prompts.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

using testing::ReadFileOrDie;
using testing::WriteFileOrDie;

class QuestionLibraryTest : public testing::CoreTest {
 protected:
  std::string DataDir() const { return dir_.path() + "/"; }
  std::string Texts(const TSurvey& s) {
    std::string out;
    for (const TQuestion& q : s.Items()) out += q.Text + ";";
    return out;
  }
  // A library "Computers" with four items in ql0.qvl.
  QuestionLibraries& WithComputers() {
    libraries_.Rebuild();
    EXPECT_EQ(libraries_.Create("Computers"), 0);
    TSurvey items(settings_);
    items.AddItem("Which system?", kStyleSingleChoice, 0, 0, 0, false, -1, "Linux,BSD");
    items.AddItem("Section", kStyleHeader, 0, 0, 0, false, 0, "");
    items.AddItem("How many?", kStyleNumeric, 1, 9, 1, false, -1, "");
    items.AddItem("Why?", kStyleText, 0, 0, 0, false, 40, "");
    AppendToQuestionLibrary(dir_.File("ql0.qvl"), items, {0, 1, 2, 3}, settings_);
    libraries_.Rebuild();
    EXPECT_TRUE(libraries_.Choose(0));
    return libraries_;
  }

  testing::ScriptedPrompts prompts_;
  QuestionLibraries libraries_{settings_, prompts_, dir_.path() + "/"};
};

TEST_F(QuestionLibraryTest, NewLibrariesTakeTheFirstFreeFileAndUniqueNames) {
  libraries_.Rebuild();
  EXPECT_TRUE(libraries_.Files().empty());
  EXPECT_EQ(libraries_.ShownPosition(), -1);
  ASSERT_EQ(libraries_.Create("A"), 0);
  EXPECT_EQ(libraries_.ShownPath(), dir_.File("ql0.qvl"));
  ASSERT_GE(libraries_.Create("B"), 0);
  EXPECT_EQ(libraries_.ShownPath(), dir_.File("ql1.qvl"));
  EXPECT_EQ(libraries_.Library().Name(), "B");
  EXPECT_EQ(libraries_.Library().ItemCount(), 0);

  EXPECT_EQ(libraries_.Create("a"), -1);
  EXPECT_EQ(libraries_.Create(" \t"), -1);
  EXPECT_EQ(libraries_.Create(""), -1);
  EXPECT_EQ(prompts_.log,
            (std::vector<std::string>{"error: The name a is already in use.  Please try another.",
                                      "error: Please enter a name for the new library.",
                                      "error: Please enter a name for the new library."}));
  EXPECT_EQ(libraries_.Files().size(), 2u);

  // Deleting ql0 (shown after choosing "A") frees its file for "C".
  ASSERT_TRUE(libraries_.Choose(libraries_.Names()[0] == "A" ? 0 : 1));
  prompts_.confirm_answers = {false, true};
  EXPECT_FALSE(libraries_.DeleteShown());
  EXPECT_TRUE(std::filesystem::exists(dir_.File("ql0.qvl")));
  EXPECT_TRUE(libraries_.DeleteShown());
  EXPECT_EQ(prompts_.log.back(),
            "confirm(default no): [Confirm Library Delete] Are you sure you want to delete the "
            "library A?");
  EXPECT_EQ(libraries_.Names(), std::vector<std::string>{"B"});
  EXPECT_EQ(libraries_.ShownPath(), dir_.File("ql1.qvl"));
  ASSERT_GE(libraries_.Create("C"), 0);
  EXPECT_EQ(libraries_.ShownPath(), dir_.File("ql0.qvl"));
  EXPECT_EQ(QuestionLibraryName(dir_.File("ql0.qvl")), "C");
}

TEST_F(QuestionLibraryTest, DeletingTheLastLibraryShowsNone) {
  libraries_.Rebuild();
  libraries_.Create("Only");
  prompts_.confirm_answers = {true};
  EXPECT_TRUE(libraries_.DeleteShown());
  EXPECT_TRUE(libraries_.Files().empty());
  EXPECT_TRUE(libraries_.ShownPath().empty());
  EXPECT_EQ(libraries_.Library().ItemCount(), 0);
}

TEST_F(QuestionLibraryTest, TheLastLibraryIsShownUnderItsNameInAnyCase) {
  WithComputers();
  QuestionLibraries again(settings_, prompts_, DataDir());
  again.Rebuild();
  EXPECT_EQ(again.OpenLast(dir_.File("computer.qvl")), -1);  // no such file
  EXPECT_TRUE(again.ShownPath().empty());
  TSurvey renamed(settings_);
  renamed.Load(dir_.File("ql0.qvl"));
  renamed.SetName("COMPUTERS");
  renamed.SaveAs(dir_.File("other.qvl"));
  again.Rebuild();
  const int position = again.OpenLast(dir_.File("other.qvl"));
  ASSERT_GE(position, 0);
  EXPECT_EQ(again.ShownPath(), dir_.File("other.qvl"));
  // The first name equal without regard to case is the one selected.
  for (int i = 0; i < position; ++i) EXPECT_NE(ToLowerAscii(again.Names()[i]), "computers");
  EXPECT_EQ(again.Library().ItemCount(), 4);
}

TEST_F(QuestionLibraryTest, InsertedItemsGoToTheEndInLibraryOrder) {
  WithComputers();
  TSurvey survey(settings_);
  survey.AddItem("First", kStyleText, 0, 0, 0, false, -1, "");
  libraries_.AppendTo(survey, {0, 2, 3});
  EXPECT_EQ(Texts(survey), "First;Which system?;How many?;Why?;");
  EXPECT_EQ(survey.Item(1).Options, libraries_.Library().Item(0).Options);
  EXPECT_EQ(survey.Item(2).MaxValue, 9);
  EXPECT_EQ(survey.Item(3).LengthOfResponse, 40);
  EXPECT_EQ(survey.Item(3).ID, 4);
}

TEST_F(QuestionLibraryTest, EditsAndDeletionsAreSavedAtOnce) {
  WithComputers();
  ItemFields header;
  header.text = "Renamed section";
  header.style = kStyleHeader;
  header.length = 0;
  header.required = true;  // never for a header
  ASSERT_TRUE(libraries_.UpdateItem(1, header));
  prompts_.confirm_answers = {false, true, true};
  EXPECT_FALSE(libraries_.DeleteItems({0, 3}));
  EXPECT_TRUE(libraries_.DeleteItems({0, 3}));
  TSurvey saved(settings_);
  saved.Load(dir_.File("ql0.qvl"));
  EXPECT_EQ(Texts(saved), "Renamed section;How many?;");
  EXPECT_FALSE(saved.Item(0).Required);
  EXPECT_TRUE(libraries_.DeleteItems({1}));
  EXPECT_EQ(prompts_.log[0],
            "confirm(default yes): [Confirm Delete] Are you sure you want to delete the 2 items "
            "you have selected?");
  EXPECT_EQ(prompts_.log[2],
            "confirm(default yes): [Confirm Delete] Are you sure you want to delete the selected "
            "item?");
  prompts_.confirm_answers = {true};
  EXPECT_TRUE(libraries_.DeleteItems({0}));
  // An emptied library stays, listed under its name.
  libraries_.Rebuild();
  EXPECT_EQ(libraries_.Names(), std::vector<std::string>{"Computers"});
  TSurvey empty(settings_);
  empty.Load(dir_.File("ql0.qvl"));
  EXPECT_EQ(empty.ItemCount(), 0);
}

TEST_F(QuestionLibraryTest, ADamagedLibraryIsNeitherShownNorWrittenOver) {
  WithComputers();
  const std::string damaged = ReadFileOrDie(dir_.File("ql0.qvl")).substr(0, 200) + "\n[Q1]\nStyle=";
  WriteFileOrDie(dir_.File("ql0.qvl"), damaged);
  libraries_.Rebuild();
  prompts_.log.clear();
  EXPECT_FALSE(libraries_.Choose(0));
  ASSERT_EQ(prompts_.log.size(), 1u);
  EXPECT_TRUE(prompts_.log[0].starts_with("error: ")) << prompts_.log[0];
  EXPECT_TRUE(libraries_.ShownPath().empty());
  EXPECT_FALSE(libraries_.UpdateItem(0, ItemFields{}));
  EXPECT_FALSE(libraries_.DeleteItems({0}));
  EXPECT_FALSE(libraries_.DeleteShown());
  EXPECT_EQ(ReadFileOrDie(dir_.File("ql0.qvl")), damaged);
}

TEST_F(QuestionLibraryTest, ASaveThatFailsIsReportedAndTheDialogGoesOn) {
  WithComputers();
  // A folder where the file was: the atomic replacement cannot rename onto it.
  std::filesystem::remove(dir_.File("ql0.qvl"));
  std::filesystem::create_directory(dir_.File("ql0.qvl"));
  prompts_.log.clear();
  ItemFields fields;
  fields.text = "Changed";
  EXPECT_FALSE(libraries_.UpdateItem(0, fields));
  EXPECT_EQ(prompts_.log,
            std::vector<std::string>{"error: Unable to write to " + dir_.File("ql0.qvl")});
  EXPECT_EQ(libraries_.Library().Item(0).Text, "Changed");
  EXPECT_TRUE(std::filesystem::is_directory(dir_.File("ql0.qvl")));
}

}  // namespace
}  // namespace quorvant
