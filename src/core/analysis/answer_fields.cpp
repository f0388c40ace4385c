#include "core/analysis/answer_fields.h"

#include <charconv>
#include <cmath>

#include "core/shell/text_helpers.h"
#include "core/tableengine/expression.h"

namespace quorvant {

AnswerField LocateAnswerField(const std::vector<FieldDef>& fields, std::string_view name) {
  for (size_t i = 0; i < fields.size(); ++i) {
    if (fields[i].name != name) continue;
    return {static_cast<int>(i), fields[i].offset, fields[i].width, fields[i].type == 'M'};
  }
  return {};
}

std::string_view AnswerReader::Text(const AnswerField& field, std::string_view bytes,
                                    RecordSource& source) {
  if (field.index < 0) return {};
  if (field.memo) {
    memo_ = source.MemoText(field.index);
    return TrimBlanks(memo_);
  }
  return TrimBlanks(
      bytes.substr(static_cast<size_t>(field.offset), static_cast<size_t>(field.width)));
}

int ChoiceAnswerIndex(std::string_view text, int other_index) {
  if (text.size() == 3 && EqualsIgnoreCase(text, "OTH")) return other_index;
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  int value = -1;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return -1;
  return value;
}

std::optional<double> NumericAnswer(std::string_view text) {
  const std::optional<double> value = DecodeNumber(text);
  if (!value || !std::isfinite(*value) || *value == -9999) return std::nullopt;
  return value;
}

int64_t NumericGroupKey(double x) {
  constexpr double kLimit = 9.0e18;
  return static_cast<int64_t>(std::trunc(std::fmax(-kLimit, std::fmin(kLimit, x))));
}

}  // namespace quorvant
