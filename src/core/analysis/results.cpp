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

uint32_t TResultsList::AnsweredOf(int question_id) const {
  for (const auto& [id, n] : answered_) {
    if (id == question_id) return n;
  }
  return 0;
}

void TResultsList::SetAnswered(int question_id, uint32_t n) {
  for (auto& [id, count] : answered_) {
    if (id == question_id) {
      count = n;
      return;
    }
  }
  answered_.emplace_back(question_id, n);
}

}  // namespace quorvant
