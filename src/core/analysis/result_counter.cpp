#include "core/analysis/result_counter.h"

#include <unordered_map>

#include "core/analysis/numeric_groups.h"
#include "core/analysis/results.h"
#include "core/survey/question.h"

namespace quorvant {
namespace {

// The first entry of each (question ID, index), as a search of the list in
// its order would find it.
using EntryIndex = std::unordered_map<int, std::vector<TCountResults*>>;

EntryIndex IndexEntries(const TResultsList& results) {
  EntryIndex index;
  for (const auto& entry : results.Entries()) {
    auto* count = dynamic_cast<TCountResults*>(entry.get());
    if (count == nullptr || count->Index < 0) continue;
    std::vector<TCountResults*>& slots = index[count->QuestionID];
    if (slots.size() <= static_cast<size_t>(count->Index)) slots.resize(count->Index + 1);
    if (slots[count->Index] == nullptr) slots[count->Index] = count;
  }
  return index;
}

}  // namespace

ResultCounter::ResultCounter(const std::vector<TQuestion>& items,
                             const std::vector<FieldDef>& fields, TResultsList& results)
    : fields_(fields), results_(results) {
  const EntryIndex entries = IndexEntries(results);
  static const std::vector<TCountResults*> kNone;
  for (const TQuestion& q : items) {
    const std::string name = "QVX" + std::to_string(q.ID);
    const auto found = entries.find(q.ID);
    const std::vector<TCountResults*>& slots = found == entries.end() ? kNone : found->second;
    const int options = static_cast<int>(q.OptionLines().size()) + (q.IncludeOther ? 1 : 0);
    if (q.Style == kStyleNumeric) {
      if (TNumericResults* numeric = results.NumericOf(q.ID)) {
        ops_.push_back({Kind::kNumeric, Locate(name)});
        ops_.back().numeric = numeric;
        ops_.back().question = AddQuestion(q.ID);
      }
    } else if (q.Style == kStyleMultipleChoice) {
      const size_t question = AddQuestion(q.ID);
      for (int j = 0; j < options && j < static_cast<int>(slots.size()); ++j) {
        if (slots[j] == nullptr) continue;
        const bool other = q.IncludeOther && j == options - 1;
        ops_.push_back({Kind::kTick, Locate(other ? name : name + "_" + std::to_string(j))});
        ops_.back().entry = slots[j];
        ops_.back().question = question;
      }
    } else if (IsChoiceStyle(q.Style)) {
      Op op{Kind::kChoice, Locate(name)};
      op.first = slots_.size();
      op.count = static_cast<int>(slots.size());
      op.other_index = options - 1;
      op.question = AddQuestion(q.ID);
      slots_.insert(slots_.end(), slots.begin(), slots.end());
      ops_.push_back(op);
    }
  }
}

size_t ResultCounter::AddQuestion(int id) {
  question_ids_.push_back(id);
  answered_.push_back(0);
  answered_in_.push_back(0);
  return answered_.size() - 1;
}

void ResultCounter::StoreAnswered(TResultsList& results) const {
  for (size_t k = 0; k < question_ids_.size(); ++k) {
    results.SetAnswered(question_ids_[k], answered_[k]);
  }
}

void ResultCounter::Visit(std::string_view bytes, RecordSource& source) {
  ++record_;
  for (const Op& op : ops_) {
    const std::string_view text = reader_.Text(op.field, bytes, source);
    bool counted = false;
    switch (op.kind) {
      case Kind::kChoice:
        counted = CountChoice(op, text);
        break;
      case Kind::kTick:
        counted = text == "Y";
        if (counted) ++op.entry->Count;
        break;
      case Kind::kNumeric:
        counted = CountNumber(*op.numeric, text);
        break;
    }
    if (counted && answered_in_[op.question] != record_) {
      answered_in_[op.question] = record_;
      ++answered_[op.question];
    }
  }
}

bool ResultCounter::CountChoice(const Op& op, std::string_view text) {
  const int index = ChoiceAnswerIndex(text, op.other_index);
  if (index < 0 || index >= op.count) return false;
  TCountResults* entry = slots_[op.first + static_cast<size_t>(index)];
  if (entry == nullptr) return false;
  ++entry->Count;
  return true;
}

bool ResultCounter::CountNumber(TNumericResults& numeric, std::string_view text) {
  const std::optional<double> value = NumericAnswer(text);
  if (!value) return false;
  const double x = *value;
  numeric.Total += x;
  numeric.Count += 1;
  numeric.Average = numeric.Total / numeric.Count;
  // From the first value on, so that answers all below 0 keep their own
  // highest rather than the start value.
  if (x > numeric.Highest || numeric.Count == 1) numeric.Highest = x;
  if (x < numeric.Lowest || numeric.Lowest == TNumericResults::kNoLowest) numeric.Lowest = x;
  if (TCountResults* group = FindNumericGroup(numeric.Groups, NumericGroupKey(x))) {
    ++group->Count;
  }
  return true;
}

}  // namespace quorvant
