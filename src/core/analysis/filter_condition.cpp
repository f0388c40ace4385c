#include "core/analysis/filter_condition.h"

#include <charconv>

#include "core/analysis/filter_list.h"
#include "core/survey/item_lookup.h"
#include "core/survey/survey.h"

namespace quorvant {
namespace {

bool ReadInt(std::string_view text, int& value) {
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return !text.empty() && ec == std::errc() && end == text.data() + text.size();
}

}  // namespace

std::string AddFilterCondition(const TSurvey& survey, std::string_view condition,
                               TFilterList& filter) {
  const std::string quoted = "'" + std::string(condition) + "'";
  size_t at = 0;
  while (at < condition.size() && condition[at] >= '0' && condition[at] <= '9') ++at;
  std::string_view op = condition.substr(at, condition.substr(at, 2) == "!=" ? 2 : 1);
  int id = 0;
  if (at == 0 || !ReadInt(condition.substr(0, at), id) ||
      (op != "=" && op != "!=" && op != ">" && op != "<")) {
    return "the condition " + quoted + " is not ID=K, ID!=K, ID>V, ID<V or ID=V";
  }
  const std::string value(condition.substr(at + op.size()));
  const int index = ItemIndexOfId(survey, id);
  const TQuestion* q = index < 0 ? nullptr : &survey.Item(index);
  if (q == nullptr)
    return "the condition " + quoted + " names no question with ID " + std::to_string(id);
  if (q->Style == kStyleNumeric) {
    if (op == "!=") return "the condition " + quoted + ": a Numeric question takes >, < or =";
    if (!IsFilterNumber(value)) {
      return "the condition " + quoted + ": '" + value + "' is not a number";
    }
    filter.AddNumericCondition(*q,
                               op == ">"   ? kFilterGreaterThan
                               : op == "<" ? kFilterLessThan
                                           : kFilterEqualTo,
                               value);
    return {};
  }
  if (!IsChoiceStyle(q->Style)) {
    return "the condition " + quoted + ": question " + std::to_string(id) +
           " is a Text question or a header, which takes no conditions";
  }
  if (op != "=" && op != "!=") {
    return "the condition " + quoted + ": a choice question takes = or !=";
  }
  int k = -1;
  const int lines = static_cast<int>(q->OptionLines().size());
  if (!ReadInt(value, k) || k < 0 || k >= lines) {
    return "the condition " + quoted + ": '" + value + "' is no option index of question " +
           std::to_string(id) + " (0 to " + std::to_string(lines - 1) + ")";
  }
  filter.AddChoiceCondition(*q, op == "=", k);
  return {};
}

}  // namespace quorvant
