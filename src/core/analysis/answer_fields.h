// How a whole-table pass reads one question's answer from a record in
// place: the field is located by name once, before the pass, and each
// record's text is then a view of its bytes (a memo field, in a table made
// for other questions, is read through the record source into a buffer the
// reader keeps). The counting of the Analysis page and of the cross table
// read answers through these, so that both take an answer alike.
//
// Thread-safety: none; an AnswerReader belongs to one pass.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/tableengine/field_codec.h"

namespace quorvant {

class RecordSource;

struct AnswerField {
  int index = -1;  // in the table's fields; -1 when the table lacks it
  int offset = 0;
  int width = 0;
  bool memo = false;
};

// The field of this name; index -1 when the table has none (it reads as blank).
AnswerField LocateAnswerField(const std::vector<FieldDef>& fields, std::string_view name);

class AnswerReader {
 public:
  // The field's text in this record, blanks trimmed; valid until the next
  // call. A field the table lacks reads as empty.
  std::string_view Text(const AnswerField& field, std::string_view bytes, RecordSource& source);

 private:
  std::string memo_;  // the memo text last read
};

// A choice answer's option index: "OTH" in any case is other_index,
// otherwise the text read as a decimal integer with an optional sign, -1
// when it is not one.
int ChoiceAnswerIndex(std::string_view text, int other_index);

// A Numeric answer: nothing for a blank field, a text that is no number,
// a value that is not finite and -9999 (the "no answer" of the form).
std::optional<double> NumericAnswer(std::string_view text);

// The value a Numeric group is looked up by: x truncated toward zero, held
// within 64 bits (values beyond them lie in no group anyway).
int64_t NumericGroupKey(double x);

}  // namespace quorvant
