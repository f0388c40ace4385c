// What a file format can hold of a dictionary's names, labels and texts,
// and the cutting to those limits. A cut never splits a UTF-8 character;
// the first cut of an export is kept to be reported once at its end.
//
// Thread-safety: CutReport belongs to one export.
#pragma once

#include <cstddef>
#include <limits>
#include <string>
#include <string_view>

#include "core/export/export_dictionary.h"

namespace quorvant {

// A length limit in bytes and in characters; a text must keep within both.
struct TextLimit {
  size_t bytes = std::numeric_limits<size_t>::max();
  size_t characters = std::numeric_limits<size_t>::max();
};

struct FormatLimits {
  const char* format = "";  // ".sav", as the report names it
  TextLimit name;
  TextLimit variable_label;
  TextLimit value_label;
  TextLimit text;  // one text value
};

// The longest prefix of text within limit, never ending inside a character.
std::string_view CutText(std::string_view text, const TextLimit& limit);

// Remembers the first thing that had to be cut.
class CutReport {
 public:
  // Cuts text to limit; when it was longer, notes `what` (the first time).
  std::string_view Cut(std::string_view text, const TextLimit& limit, const std::string& what);
  bool Empty() const { return first_.empty(); }
  // "Some names, labels or texts were longer than .sav files allow and were
  // cut (the first: the label of QVX3)." Empty when nothing was cut.
  std::string Text(const char* format) const;

 private:
  std::string first_;
};

// The dictionary with every name, variable label and value label cut to the
// limits, each cut noted in report.
VariableDictionary FitDictionary(const VariableDictionary& dictionary, const FormatLimits& limits,
                                 CutReport& report);

}  // namespace quorvant
