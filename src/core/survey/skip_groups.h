// Skip groups: a Single Choice head question names one of its options, and a
// respondent who chooses it jumps past the consecutive member questions that
// follow the head. The head holds the option's index in SkipGroupOfResponse,
// each member the head's ID in SkipGroupOfQuestion.
//
// Selections are the zero-based indexes of the selected list lines, which are
// the item indexes, in increasing order.
//
// Thread-safety: none; the functions work on the caller's survey.
#pragma once

#include <optional>
#include <vector>

#include "core/survey/question.h"

namespace quorvant {

class TSurvey;

// True when the item is a head or a member of a skip group.
bool HasSkipSetting(const TQuestion& item);
bool AnyHasSkipSetting(const TSurvey& survey, const std::vector<int>& indexes);
bool AnyHasSkipSetting(const TSurvey& survey);

// What the "Skip &Group" button offers for a selection.
enum class SkipGroupOffer { kDisabled, kCreate, kUngroup };
SkipGroupOffer SkipGroupOfferFor(const TSurvey& survey, const std::vector<int>& selected);

// A group to create: the head is the item just above the first selected item
// at index 1 or higher, the members are the selected items after the head.
struct SkipGroupPlan {
  int head = -1;
  std::vector<int> members;
};
// Nothing when no selected item stands below the first line.
std::optional<SkipGroupPlan> PlanSkipGroup(const std::vector<int>& selected);

// Makes the head skip its members when option `response` is chosen. Marks the
// survey modified without stamping LastUpdated.
// Requires: the plan's indexes are valid items of the survey.
void CreateSkipGroup(TSurvey& survey, const SkipGroupPlan& plan, int response);

// Dissolves the whole unbroken run of items with skip settings around the
// first selected item that has one, head included; two groups that touch go
// together. Marks the survey modified without stamping LastUpdated.
void UngroupSkipGroup(TSurvey& survey, const std::vector<int>& selected);

}  // namespace quorvant
