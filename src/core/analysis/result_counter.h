// ResultCounter: the one pass of a compute. Built once per compute from the
// survey's items, the table's fields and the empty results list, it maps
// every item to its entries and every field name to its place in the record
// before the pass, so that counting a record only reads bytes in place: no
// search of the list, no field lookup by name and no allocation per record
// (a memo field read as a choice, in a table made for other questions, is
// the one exception).
//
// Counting rules, per visited record and item:
//  - Single Choice, Sliding Scale, Pulldown: field QVX<id> trimmed; "OTH" in
//    any case is the last index of the option list (Other appended when
//    IncludeOther is set), otherwise the text read as a decimal integer, -1
//    when it is not one; the first entry with this ID and index counts.
//  - Multiple Choice: option j counts when field QVX<id>_<j> (QVX<id> for
//    the Other position) holds exactly "Y".
//  - Numeric: a blank field, a text that is no number and -9999 are left
//    out; every other value x enters total, count, highest and lowest
//    (both from the first such value), and the group holding x truncated
//    toward zero counts.
// A field the table lacks reads as blank. Per question it also counts the
// records whose answer counted somewhere (StoreAnswered).
//
// Ownership: keeps pointers into the results list, which must outlive it
// and not change. Thread-safety: none.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/analysis/answer_fields.h"
#include "core/tableengine/table.h"

namespace quorvant {

class TResultsList;
struct TCountResults;
struct TNumericResults;
struct TQuestion;

class ResultCounter : public RecordVisitor {
 public:
  ResultCounter(const std::vector<TQuestion>& items, const std::vector<FieldDef>& fields,
                TResultsList& results);

  void Visit(std::string_view bytes, RecordSource& source) override;
  // Writes the answered records of every question counted into the list.
  void StoreAnswered(TResultsList& results) const;

 private:
  enum class Kind : uint8_t { kChoice, kTick, kNumeric };
  struct Op {
    Kind kind;
    AnswerField field;
    // kChoice: entries by index, [first, first + count) of slots_
    size_t first = 0;
    int count = 0;
    int other_index = -1;                // the index "OTH" stands for
    TCountResults* entry = nullptr;      // kTick
    TNumericResults* numeric = nullptr;  // kNumeric
    size_t question = 0;                 // in answered_
  };

  AnswerField Locate(const std::string& name) const { return LocateAnswerField(fields_, name); }
  bool CountChoice(const Op& op, std::string_view text);
  static bool CountNumber(TNumericResults& numeric, std::string_view text);
  size_t AddQuestion(int id);

  const std::vector<FieldDef>& fields_;
  TResultsList& results_;
  std::vector<Op> ops_;
  std::vector<TCountResults*> slots_;
  AnswerReader reader_;
  // Per question counted: its ID, its answered records, and the number of
  // the record that last answered it (a Multiple Choice record answers
  // once however many boxes it ticked).
  std::vector<int> question_ids_;
  std::vector<uint32_t> answered_;
  std::vector<uint64_t> answered_in_;
  uint64_t record_ = 0;
};

}  // namespace quorvant
