#include "core/survey/editing_commands.h"

#include <gtest/gtest.h>

#include "core/shell/settings_keys.h"
#include "core/survey/comma_text.h"
#include "core/survey/command_states.h"
#include "core/survey/question_list.h"
#include "core/survey/skip_groups.h"
#include "core/survey/survey.h"
#include "support/scripted_prompts.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

using Lines = std::vector<int>;
const SuppressibleReply kYes{WarningAnswer::kYes, false};
const SuppressibleReply kNo{WarningAnswer::kNo, false};

class EditingTest : public testing::CoreTest {
 protected:
  EditingTest()
      : survey_(settings_),
        clipboard_(settings_),
        editing_(survey_, clipboard_, prompts_, settings_) {}

  // Five single-choice questions "q0" .. "q4".
  void AddFive() {
    for (int i = 0; i < 5; ++i) Add("q" + std::to_string(i));
  }
  int Add(const std::string& text, int style = kStyleSingleChoice) {
    return survey_.AddItem(text, style, 1, 10, 1, false, -1, JoinCommaText({"Yes", "No"}));
  }
  // The items' texts and, for items with skip settings, "(head ID/option)".
  std::string Texts() const {
    std::string out;
    for (const TQuestion& q : survey_.Items()) {
      if (!out.empty()) out += " ";
      out += q.Text;
      if (q.SkipGroupOfQuestion != -1) out += "(in " + std::to_string(q.SkipGroupOfQuestion) + ")";
      if (q.SkipGroupOfResponse != -1)
        out += "(skips on " + std::to_string(q.SkipGroupOfResponse) + ")";
    }
    return out;
  }
  void Publish() { survey_.SetHTMLStatus("HTML file generated"); }

  TSurvey survey_;
  TSurvey clipboard_;
  testing::ScriptedPrompts prompts_;
  SurveyEditing editing_;
};

TEST_F(EditingTest, AddInsertsAfterASingleSelectionAndAppendsOtherwise) {
  AddFive();
  ItemFields f;
  f.text = "after q1";
  EXPECT_EQ(editing_.AddItem(f, {1}, 1), 2);
  f.text = "appended";
  EXPECT_EQ(editing_.AddItem(f, {1, 3}, 3), 6);
  f.text = "no selection";
  EXPECT_EQ(editing_.AddItem(f, {}, -1), 7);
  EXPECT_EQ(Texts(), "q0 q1 after q1 q2 q3 q4 appended no selection");
  EXPECT_EQ(survey_.Item(2).ID, 6);
}

TEST_F(EditingTest, DeletingTheLastLinesMovesTheFocusToTheNewLastLine) {
  AddFive();
  prompts_.suppressible_answers = {kYes};
  EXPECT_EQ(editing_.DeleteSelected({3, 4}, 4), 2);
  EXPECT_EQ(Texts(), "q0 q1 q2");
  EXPECT_EQ(prompts_.log.back(),
            "suppressible: Are you sure you want to delete the 2 items you have selected?");
}

TEST_F(EditingTest, DeleteAsksOnPublishedSurveysAndStopsOnNo) {
  AddFive();
  Publish();
  prompts_.suppressible_answers = {kYes, kNo};
  EXPECT_FALSE(editing_.DeleteSelected({1}, 1));
  EXPECT_EQ(prompts_.log.size(), 2u);
  EXPECT_EQ(prompts_.log[1], "suppressible: Are you sure you want to delete the selected item?");
  prompts_.suppressible_answers = {kNo};
  EXPECT_FALSE(editing_.DeleteSelected({1}, 1));
  EXPECT_EQ(Texts(), "q0 q1 q2 q3 q4");
}

TEST_F(EditingTest, SwitchedOffWarningsCountAsYes) {
  AddFive();
  Publish();
  settings_.WriteBool(settings::kDisabledWarnings, settings::kWarnDeleteQuestions, true);
  settings_.WriteBool(settings::kDisabledWarnings, settings::kWarnChangesToPublishedSurvey, true);
  EXPECT_EQ(editing_.DeleteSelected({0}, 0), 0);
  EXPECT_TRUE(prompts_.log.empty());
}

TEST_F(EditingTest, MovingABlockKeepsItTogetherAndSelected) {
  AddFive();
  EXPECT_EQ(editing_.MoveSelectedUp({2, 3}), Lines({1, 2}));
  EXPECT_EQ(Texts(), "q0 q2 q3 q1 q4");
  EXPECT_EQ(editing_.MoveSelectedDown({0, 2}), Lines({1, 3}));
  EXPECT_EQ(Texts(), "q2 q0 q1 q3 q4");
  EXPECT_EQ(editing_.MoveSelectedDown({3, 4}), Lines({3, 4}));  // the last line stays put
  EXPECT_TRUE(prompts_.log.empty());
}

TEST_F(EditingTest, MovingInASurveyWithSkipGroupsAsksUnlessSwitchedOff) {
  AddFive();
  survey_.Item(0).SkipGroupOfResponse = 1;
  survey_.Item(1).SkipGroupOfQuestion = survey_.Item(0).ID;
  prompts_.suppressible_answers = {kNo};
  EXPECT_FALSE(editing_.MoveSelectedDown({3}));
  EXPECT_EQ(Texts(), "q0(skips on 1) q1(in 1) q2 q3 q4");
  prompts_.suppressible_answers = {{WarningAnswer::kYes, true}};
  EXPECT_TRUE(editing_.MoveSelectedDown({3}));
  EXPECT_TRUE(editing_.MoveSelectedUp({1}));  // asked nothing: switched off
  EXPECT_EQ(prompts_.log.size(), 2u);
  // Moving does not mend the group: the member keeps pointing at its head.
  EXPECT_EQ(Texts(), "q1(in 1) q0(skips on 1) q2 q4 q3");
}

TEST_F(EditingTest, CopyAndPasteGiveNewIdentifiersAndPlainCopies) {
  for (int i = 1; i <= 9; ++i) Add("q" + std::to_string(i));
  survey_.Item(4).SkipGroupOfResponse = 0;
  survey_.Item(4).ChartType = 3;
  survey_.SetItemRequired(8, true);
  const std::string text =
      editing_.CopyItems({4, 8}, [](const TSurvey& s, int i) { return s.Item(i).Text + ";"; });
  EXPECT_EQ(text, "q5;q9;");
  ASSERT_EQ(clipboard_.ItemCount(), 2);
  EXPECT_EQ(clipboard_.Item(0).ID, 1);
  EXPECT_EQ(clipboard_.Item(1).ID, 2);
  EXPECT_EQ(clipboard_.Item(0).SkipGroupOfResponse, -1);
  EXPECT_EQ(clipboard_.Item(0).ChartType, 1);

  EXPECT_EQ(editing_.PasteItems(), Lines({9, 10}));
  EXPECT_EQ(editing_.PasteItems(), Lines({11, 12}));
  EXPECT_EQ(survey_.Item(9).ID, 10);
  EXPECT_EQ(survey_.Item(12).ID, 13);
  EXPECT_EQ(survey_.Item(12).Text, "q9");
  EXPECT_TRUE(survey_.Item(12).Required);  // kept, unlike the skip and chart settings
  EXPECT_FALSE(survey_.Item(11).Required);
  EXPECT_EQ(survey_.Item(9).SkipGroupOfResponse, -1);
}

TEST_F(EditingTest, CutDeletesWithoutAskingEvenWhenPublished) {
  AddFive();
  Publish();
  editing_.CutItems({1, 3}, {});
  EXPECT_EQ(Texts(), "q0 q2 q4");
  EXPECT_EQ(clipboard_.ItemCount(), 2);
  EXPECT_TRUE(prompts_.log.empty());
}

TEST_F(EditingTest, TemplatesReplaceOptionsOfChoiceQuestionsOnly) {
  Add("single");
  Add("text", kStyleText);
  Add("header", kStyleHeader);
  Add("pulldown", kStylePulldown);
  prompts_.confirm_answers = {true};
  EXPECT_EQ(editing_.ApplyResponseTemplate({0, 1, 2, 3}, "Yes / No", {"Y", "N", "Maybe"}), 2);
  EXPECT_EQ(prompts_.log[0],
            "confirm(default yes): Are you sure you want to apply the responses from the Yes / No "
            "template to the selected questions?");
  EXPECT_EQ(survey_.Item(0).Options, "Y,N,Maybe");
  EXPECT_EQ(survey_.Item(1).Options, "Yes,No");
  EXPECT_EQ(survey_.Item(3).Options, "Y,N,Maybe");
  prompts_.confirm_answers = {false};
  EXPECT_EQ(editing_.ApplyResponseTemplate({0}, "Agree", {"A"}), 0);
  EXPECT_EQ(survey_.Item(0).Options, "Y,N,Maybe");
}

TEST_F(EditingTest, CreatingAGroupSetsHeadMembersAndGroupSize) {
  AddFive();
  const auto plan = PlanSkipGroup({2, 3});
  ASSERT_TRUE(plan);
  EXPECT_EQ(plan->head, 1);
  survey_.SetModified(false);
  CreateSkipGroup(survey_, *plan, 1);
  EXPECT_TRUE(survey_.Modified());
  EXPECT_EQ(Texts(), "q0 q1(skips on 1) q2(in 2) q3(in 2) q4");
  RebuildQuestionList(survey_);
  EXPECT_EQ(survey_.Item(1).GroupSize, 3);
}

TEST_F(EditingTest, UngroupDissolvesTheWholeRunOfTouchingGroups) {
  AddFive();
  CreateSkipGroup(survey_, *PlanSkipGroup({1}), 0);
  CreateSkipGroup(survey_, *PlanSkipGroup({3}), 1);
  survey_.Item(2).SkipGroupOfQuestion = survey_.Item(0).ID;  // q2 heads group 2 and is in group 1
  prompts_.suppressible_answers = {kNo};
  EXPECT_FALSE(editing_.UngroupSelected({1}));
  prompts_.suppressible_answers = {kYes};
  EXPECT_TRUE(editing_.UngroupSelected({0, 1}));
  EXPECT_EQ(Texts(), "q0 q1 q2 q3 q4");
}

TEST_F(EditingTest, UngroupStartsFromTheSelectedItemThatBelongsToAGroup) {
  AddFive();
  CreateSkipGroup(survey_, *PlanSkipGroup({3}), 0);
  prompts_.suppressible_answers = {kYes};
  EXPECT_TRUE(editing_.UngroupSelected({0, 3}));
  EXPECT_EQ(Texts(), "q0 q1 q2 q3 q4");
}

struct OfferCase {
  const char* name;
  std::vector<int> styles;  // 0 marks a member of the group headed by item 0
  Lines selected;
  SkipGroupOffer expected;
};

class SkipGroupOfferTest : public testing::CoreTest,
                           public ::testing::WithParamInterface<OfferCase> {};

TEST_P(SkipGroupOfferTest, FollowsTheAvailabilityRules) {
  TSurvey s(settings_);
  for (int style : GetParam().styles) {
    const int i = s.AddItem("x", style == 0 ? kStyleSingleChoice : style, 0, 0, 0, false, -1, "a");
    if (style == 0) {
      s.Item(0).SkipGroupOfResponse = 0;
      s.Item(i).SkipGroupOfQuestion = s.Item(0).ID;
    }
  }
  EXPECT_EQ(SkipGroupOfferFor(s, GetParam().selected), GetParam().expected);
}

constexpr int S = kStyleSingleChoice, M = kStyleMultipleChoice, H = kStyleHeader, T = kStyleText;
INSTANTIATE_TEST_SUITE_P(
    Rules, SkipGroupOfferTest,
    ::testing::Values(OfferCase{"NothingSelected", {S, S}, {}, SkipGroupOffer::kDisabled},
                      OfferCase{"OneItem", {S}, {0}, SkipGroupOffer::kDisabled},
                      OfferCase{"RunBelowSingleChoice", {S, T, M}, {1, 2}, SkipGroupOffer::kCreate},
                      OfferCase{"FirstLineSelected", {S, S, S}, {0, 1}, SkipGroupOffer::kDisabled},
                      OfferCase{"BrokenRun", {S, S, S, S}, {1, 3}, SkipGroupOffer::kDisabled},
                      OfferCase{"HeaderSelected", {S, H, S}, {1, 2}, SkipGroupOffer::kDisabled},
                      OfferCase{"HeaderAbove", {S, H, S}, {2}, SkipGroupOffer::kDisabled},
                      OfferCase{"MultipleChoiceAbove", {M, S}, {1}, SkipGroupOffer::kDisabled},
                      OfferCase{"MemberAbove", {S, 0, S}, {2}, SkipGroupOffer::kDisabled},
                      OfferCase{"MemberSelected", {S, 0, S}, {1, 2}, SkipGroupOffer::kUngroup}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EditingTest, CommandStatesFollowSelectionClipboardAndSurvey) {
  AddFive();
  survey_.SetModified(false);
  WindowState state;
  state.selected = {0, 1};
  CommandStates s = ComputeCommandStates(survey_, state);
  EXPECT_FALSE(s.move_up);
  EXPECT_TRUE(s.move_down);
  EXPECT_FALSE(s.edit_item);
  EXPECT_FALSE(s.paste);
  EXPECT_FALSE(s.save);
  EXPECT_FALSE(s.analysis_tools);
  EXPECT_FALSE(s.add_to_library);
  state.selected = {4};
  state.clipboard_count = 1;
  state.has_library = true;
  state.analysis_page = true;
  survey_.SetSRResponseCount(0);
  Publish();
  s = ComputeCommandStates(survey_, state);
  EXPECT_TRUE(s.move_up);
  EXPECT_FALSE(s.move_down);
  EXPECT_TRUE(s.edit_item);
  EXPECT_TRUE(s.paste);
  EXPECT_TRUE(s.save);
  EXPECT_TRUE(s.analysis_tools);
  EXPECT_TRUE(s.add_to_library);
  EXPECT_FALSE(s.print);  // the analysis page prints only with responses
}

}  // namespace
}  // namespace quorvant
