#include "core/survey/skip_groups.h"

#include <algorithm>

#include "core/survey/survey.h"

namespace quorvant {
namespace {

bool IsOneRun(const std::vector<int>& selected) {
  for (size_t i = 1; i < selected.size(); ++i) {
    if (selected[i] != selected[i - 1] + 1) return false;
  }
  return true;
}

}  // namespace

bool HasSkipSetting(const TQuestion& item) {
  return item.SkipGroupOfQuestion != -1 || item.SkipGroupOfResponse != -1;
}

bool AnyHasSkipSetting(const TSurvey& survey, const std::vector<int>& indexes) {
  return std::any_of(indexes.begin(), indexes.end(),
                     [&](int i) { return HasSkipSetting(survey.Item(i)); });
}

bool AnyHasSkipSetting(const TSurvey& survey) {
  return std::any_of(survey.Items().begin(), survey.Items().end(),
                     [](const TQuestion& item) { return HasSkipSetting(item); });
}

SkipGroupOffer SkipGroupOfferFor(const TSurvey& survey, const std::vector<int>& selected) {
  if (selected.empty() || survey.ItemCount() < 2) return SkipGroupOffer::kDisabled;
  // A selection that touches a group can only dissolve it; offering "Create"
  // there would let a member become a head of its own.
  if (AnyHasSkipSetting(survey, selected)) return SkipGroupOffer::kUngroup;
  if (selected.front() == 0 || !IsOneRun(selected)) return SkipGroupOffer::kDisabled;
  for (int i : selected) {
    if (survey.Item(i).IsHeader()) return SkipGroupOffer::kDisabled;
  }
  const TQuestion& above = survey.Item(selected.front() - 1);
  if (above.IsHeader() || above.SkipGroupOfQuestion != -1) return SkipGroupOffer::kDisabled;
  return above.Style == kStyleSingleChoice ? SkipGroupOffer::kCreate : SkipGroupOffer::kDisabled;
}

std::optional<SkipGroupPlan> PlanSkipGroup(const std::vector<int>& selected) {
  const auto first = std::find_if(selected.begin(), selected.end(), [](int i) { return i >= 1; });
  if (first == selected.end()) return std::nullopt;
  SkipGroupPlan plan;
  plan.head = *first - 1;
  // The head itself never becomes a member, even when it is selected too.
  for (auto it = first; it != selected.end(); ++it) {
    if (*it > plan.head) plan.members.push_back(*it);
  }
  return plan;
}

void CreateSkipGroup(TSurvey& survey, const SkipGroupPlan& plan, int response) {
  TQuestion& head = survey.Item(plan.head);
  head.SkipGroupOfResponse = response;
  for (int i : plan.members) survey.Item(i).SkipGroupOfQuestion = head.ID;
  survey.SetModified(true);
}

void UngroupSkipGroup(TSurvey& survey, const std::vector<int>& selected) {
  if (selected.empty()) return;
  // Starting from a selected item that belongs to no group would dissolve
  // nothing after the person confirmed, so start from one that does.
  const auto start = std::find_if(selected.begin(), selected.end(),
                                  [&](int i) { return HasSkipSetting(survey.Item(i)); });
  int i = start != selected.end() ? *start : selected.front();
  while (i >= 0 && i < survey.ItemCount() && HasSkipSetting(survey.Item(i))) --i;
  for (int s = i + 1; s < survey.ItemCount() && HasSkipSetting(survey.Item(s)); ++s) {
    survey.Item(s).SkipGroupOfQuestion = -1;
    survey.Item(s).SkipGroupOfResponse = -1;
  }
  survey.SetModified(true);
}

}  // namespace quorvant
