#include "core/analysis/numeric_groups.h"

#include <algorithm>
#include <string>

namespace quorvant {

std::vector<TCountResults> MakeNumericGroups(int question_id, int min_value, int max_value,
                                             int step_value) {
  const int64_t max = max_value;
  const int64_t step = std::max(step_value, 0);
  std::vector<TCountResults> groups;
  int64_t lo = min_value;
  int64_t hi = lo + step;
  do {
    if (static_cast<int>(groups.size()) == kMaxNumericGroups - 1 && hi < max) hi = max;
    groups.emplace_back(question_id, static_cast<int>(groups.size()),
                        std::to_string(lo) + " to " + std::to_string(hi), lo, hi);
    lo = hi + 1;
    hi = std::min(lo + step, max);
  } while (max > lo);
  return groups;
}

TCountResults* FindNumericGroup(std::vector<TCountResults>& groups, int64_t t) {
  // The first group whose start lies above t; the one before it may hold t.
  auto it = std::upper_bound(groups.begin(), groups.end(), t,
                             [](int64_t v, const TCountResults& g) { return v < g.Low; });
  if (it == groups.begin()) return nullptr;
  --it;
  return t <= it->High ? &*it : nullptr;
}

}  // namespace quorvant
