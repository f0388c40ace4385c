// The variable dictionary of a response export: one variable per field of
// the response table, in survey order, with what a statistics program needs
// to show it (variable label, value labels, missing values, type) and where
// its value lies in a record. Every writer takes the same dictionary, so the
// formats cannot drift apart in what they call a variable.
//
//  - Collection fields REMOTEIP, EMAIL, AGENT: text; DATERCVD: date-time.
//  - Single Select, Sliding Scale, Pull Down List: QVX<id>, a code 0..n-1
//    labelled with the option texts as the Analysis page shows them, and
//    n = "Other" with IncludeOther (stored "OTH"); QVX<id>OT the typed text.
//  - Multiple Select: QVX<id>_<k> per option, 1 "Selected" / 0 "Not
//    selected"; with Other also QVX<id> (the Other box) and QVX<id>OT.
//  - Numeric Value: QVX<id>, a number with -9999 declared missing.
//  - Free Form Text: QVX<id>, text, the whole memo for verbose answers.
//
// Thread-safety: plain values.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/tableengine/field_codec.h"

namespace quorvant {

class TSurvey;

enum class VariableKind {
  kCode,      // a choice: integer code with value labels
  kTick,      // a box: 1 selected, 0 not
  kNumber,    // a number; kMissingNumber declared missing
  kText,      // text as stored (character fields without their padding)
  kDateTime,  // YYYYMMDDHHMMSS as stored
};

inline constexpr double kMissingNumber = -9999;
inline constexpr char kSelectedLabel[] = "Selected";
inline constexpr char kNotSelectedLabel[] = "Not selected";

struct ValueLabel {
  int value = 0;
  std::string label;
};

struct ExportVariable {
  std::string name;
  std::string label;
  VariableKind kind = VariableKind::kText;
  std::string type_name;  // the style as the question editor names it
  std::vector<ValueLabel> value_labels;
  int other_code = -1;  // kCode with Other: the code "OTH" stands for

  // Where the value lies: the table's field, -1 when the table lacks it
  // (every value then missing).
  int field = -1;
  int offset = 0;
  int width = 0;
  bool memo = false;
  // kText: the most bytes a value can have; for a memo 0 until measured.
  size_t text_bytes = 0;
};

struct VariableDictionary {
  std::vector<ExportVariable> variables;

  bool HasMemo() const;
};

// The dictionary of the survey's items over a table of these fields.
VariableDictionary BuildVariableDictionary(const TSurvey& survey,
                                           const std::vector<FieldDef>& fields);

// The value label of a code or box, found by its place (the labels of a
// variable are its codes 0, 1, ... in order); nullptr when it has none.
const std::string* ValueLabelOf(const ExportVariable& variable, double value);

// "0 = Poor; 1 = Fair" and, for numbers, "-9999 = missing": the value
// labels as one line of text, for formats without value labels of their own.
std::string ValueLabelsText(const ExportVariable& variable);

}  // namespace quorvant
