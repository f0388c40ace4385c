#include "core/export/export_limits.h"

#include "core/shell/text_helpers.h"

namespace quorvant {

std::string_view CutText(std::string_view text, const TextLimit& limit) {
  std::string_view cut = Utf8Prefix(text, limit.bytes);
  if (limit.characters >= cut.size()) return cut;
  // Walk the characters only when the count could matter.
  size_t count = 0, i = 0;
  while (i < cut.size() && count < limit.characters) {
    const auto c = static_cast<unsigned char>(cut[i]);
    size_t n = c < 0x80 ? 1 : c >> 5 == 0x6 ? 2 : c >> 4 == 0xE ? 3 : c >> 3 == 0x1E ? 4 : 1;
    if (i + n > cut.size()) n = 1;
    i += n;
    ++count;
  }
  return cut.substr(0, i);
}

std::string_view CutReport::Cut(std::string_view text, const TextLimit& limit,
                                const std::string& what) {
  const std::string_view cut = CutText(text, limit);
  if (cut.size() < text.size() && first_.empty()) first_ = what;
  return cut;
}

std::string CutReport::Text(const char* format) const {
  if (first_.empty()) return "";
  return std::string("Some names, labels or texts were longer than ") + format +
         " files allow and were cut (the first: " + first_ + ").";
}

VariableDictionary FitDictionary(const VariableDictionary& dictionary, const FormatLimits& limits,
                                 CutReport& report) {
  VariableDictionary fitted = dictionary;
  for (ExportVariable& v : fitted.variables) {
    const std::string of = " of " + v.name;
    v.label = std::string(report.Cut(v.label, limits.variable_label, "the label" + of));
    for (ValueLabel& l : v.value_labels) {
      l.label = std::string(report.Cut(l.label, limits.value_label,
                                       "the label of value " + std::to_string(l.value) + of));
    }
    v.name = std::string(report.Cut(v.name, limits.name, "the name" + of));
  }
  return fitted;
}

}  // namespace quorvant
