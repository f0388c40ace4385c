#include "core/analysis/results.h"

namespace quorvant {

std::vector<TCountResults*> TResultsList::CountsOf(int question_id) const {
  std::vector<TCountResults*> counts;
  for (const auto& entry : entries_) {
    if (entry->QuestionID != question_id) continue;
    if (auto* count = dynamic_cast<TCountResults*>(entry.get())) counts.push_back(count);
  }
  return counts;
}

TNumericResults* TResultsList::NumericOf(int question_id) const {
  for (const auto& entry : entries_) {
    if (entry->QuestionID != question_id) continue;
    if (auto* numeric = dynamic_cast<TNumericResults*>(entry.get())) return numeric;
  }
  return nullptr;
}

}  // namespace quorvant
