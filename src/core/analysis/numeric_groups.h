// The groups a Numeric question's answers are counted in, from its range and
// step: the first group spans MinValue to MinValue + StepValue and is never
// cut; each later one starts one above the previous group's end, spans
// StepValue + 1 integers and is cut to MaxValue; groups are made while
// MaxValue lies above the next start, and there is always at least one.
//
// A negative step counts as 0 (groups of one value each): taken as it is,
// it would make groups without end. For the same reason a range that would
// give more than kMaxNumericGroups groups stops there, the last group
// stretched to MaxValue so that every value in range still has a group.
// Bounds are computed in 64 bits, so extreme ranges cannot overflow.
#pragma once

#include <cstdint>
#include <vector>

#include "core/analysis/results.h"

namespace quorvant {

inline constexpr int kMaxNumericGroups = 100000;

std::vector<TCountResults> MakeNumericGroups(int question_id, int min_value, int max_value,
                                             int step_value);

// The group holding value t (the answer truncated toward zero), or nullptr.
// Groups are ascending and do not overlap, so a binary search finds the
// first one holding t. Requires: groups made by MakeNumericGroups.
TCountResults* FindNumericGroup(std::vector<TCountResults>& groups, int64_t t);

}  // namespace quorvant
