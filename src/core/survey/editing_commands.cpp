#include "core/survey/editing_commands.h"

#include <algorithm>

#include "core/shell/prompts.h"
#include "core/shell/settings_keys.h"
#include "core/shell/suppressible_warning.h"
#include "core/survey/comma_text.h"
#include "core/survey/command_states.h"
#include "core/survey/skip_groups.h"
#include "core/survey/survey.h"
#include "core/survey/survey_copy.h"

namespace quorvant {
SurveyEditing::SurveyEditing(TSurvey& survey, TSurvey& clipboard, Prompts& prompts,
                             SettingsStore& settings)
    : survey_(survey), clipboard_(clipboard), prompts_(prompts), settings_(settings) {}

bool SurveyEditing::Warn(const std::string& text, std::string_view key) {
  return SuppressibleWarning(prompts_, settings_, text, key) == WarningAnswer::kYes;
}

std::string DeleteItemsQuestion(size_t count) {
  return count >= 2 ? "Are you sure you want to delete the " + std::to_string(count) +
                          " items you have selected?"
                    : "Are you sure you want to delete the selected item?";
}

bool SurveyEditing::ConfirmChangePublished() {
  if (!IsPotentiallyPublished(survey_)) return true;
  return Warn(
      "This survey has potentially been published.  Making changes to the survey at this point "
      "may corrupt any results that have already been submitted.  Are you sure you want to do "
      "this?",
      settings::kWarnChangesToPublishedSurvey);
}

void UpdateItemFields(TSurvey& survey, int index, const ItemFields& f) {
  survey.UpdateItem(index, f.text, f.style, f.step, f.max, f.min, f.include_other, f.length,
                    f.options);
  survey.SetItemRequired(index, f.required && f.style != kStyleHeader);
}

int SurveyEditing::AddItem(const ItemFields& f, const std::vector<int>& selected, int focused) {
  const bool insert = selected.size() == 1 && focused >= 0 && focused < survey_.ItemCount();
  const int added = insert ? survey_.InsertItemAfter(focused, f.text, f.style, f.step, f.max, f.min,
                                                     f.include_other, f.length, f.options)
                           : survey_.AddItem(f.text, f.style, f.step, f.max, f.min, f.include_other,
                                             f.length, f.options);
  survey_.SetItemRequired(added, f.required && f.style != kStyleHeader);
  return added;
}

std::optional<int> SurveyEditing::DeleteSelected(const std::vector<int>& selected, int focused) {
  if (selected.empty() || !ConfirmChangePublished()) return std::nullopt;
  if (!Warn(DeleteItemsQuestion(selected.size()), settings::kWarnDeleteQuestions)) {
    return std::nullopt;
  }
  DeleteItems(selected);
  if (focused < 0) focused = selected.front();
  return std::min(focused, survey_.ItemCount() - 1);
}

void SurveyEditing::DeleteItems(const std::vector<int>& selected) {
  for (auto it = selected.rbegin(); it != selected.rend(); ++it) survey_.DeleteItem(*it);
}

bool SurveyEditing::ConfirmMove() {
  if (!AnyHasSkipSetting(survey_)) return true;
  return Warn(
      "You are about to move questions in a Skip Group. This may corrupt the survey - are you "
      "sure you want to do this?",
      settings::kWarnMoveSkipGroup);
}

std::optional<std::vector<int>> SurveyEditing::MoveSelectedUp(const std::vector<int>& selected) {
  return MoveSelected(selected, -1);
}

std::optional<std::vector<int>> SurveyEditing::MoveSelectedDown(const std::vector<int>& selected) {
  return MoveSelected(selected, +1);
}

// Each item carries its selection in its Selected mark while it moves, so
// the selection can follow the items afterwards. Walking in the direction of
// the move lets a block of adjacent items move as a block.
std::optional<std::vector<int>> SurveyEditing::MoveSelected(const std::vector<int>& selected,
                                                            int step) {
  if (!ConfirmMove()) return std::nullopt;
  const int count = survey_.ItemCount();
  std::vector<bool> line_selected(static_cast<size_t>(count), false);
  for (int i : selected) line_selected.at(static_cast<size_t>(i)) = true;
  for (int n = 0; n < count; ++n) {
    const int i = step < 0 ? n : count - 1 - n;
    survey_.Item(i).Selected = line_selected[static_cast<size_t>(i)];
    if (line_selected[static_cast<size_t>(i)]) survey_.MoveItem(i, i + step);
  }
  std::vector<int> moved;
  for (int i = 0; i < count; ++i) {
    if (survey_.Item(i).Selected) moved.push_back(i);
  }
  return moved;
}

std::string SurveyEditing::CopyItems(const std::vector<int>& selected,
                                     const ItemTextRenderer& render) {
  clipboard_.Clear();
  std::string text;
  for (int i : selected) {
    AppendPlainCopy(clipboard_, survey_.Item(i));
    if (render) text += render(survey_, i);
  }
  return text;
}

std::string SurveyEditing::CutItems(const std::vector<int>& selected,
                                    const ItemTextRenderer& render) {
  std::string text = CopyItems(selected, render);
  DeleteItems(selected);
  return text;
}

std::vector<int> SurveyEditing::PasteItems() {
  std::vector<int> pasted;
  for (const TQuestion& item : clipboard_.Items()) pasted.push_back(AppendPlainCopy(survey_, item));
  return pasted;
}

int SurveyEditing::ApplyResponseTemplate(const std::vector<int>& selected, const std::string& title,
                                         const std::vector<std::string>& values) {
  if (!prompts_.Confirm("Are you sure you want to apply the responses from the " + title +
                            " template to the selected questions?",
                        true)) {
    return 0;
  }
  const std::string options = JoinCommaText(values);
  int changed = 0;
  for (int i : selected) {
    const TQuestion& q = survey_.Item(i);
    if (!IsChoiceStyle(q.Style)) continue;
    survey_.UpdateItem(i, q.Text, q.Style, q.StepValue, q.MaxValue, q.MinValue, q.IncludeOther,
                       q.LengthOfResponse, options);
    ++changed;
  }
  return changed;
}

bool SurveyEditing::UngroupSelected(const std::vector<int>& selected) {
  if (selected.empty() || !ConfirmChangePublished()) return false;
  if (!Warn("Are you sure you want to ungroup all the questions in this skip group?",
            settings::kWarnUngroupSkipGroup)) {
    return false;
  }
  UngroupSkipGroup(survey_, selected);
  return true;
}

}  // namespace quorvant
