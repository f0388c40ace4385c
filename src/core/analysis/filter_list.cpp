#include "core/analysis/filter_list.h"

#include <cassert>
#include <charconv>

#include "core/shell/text_helpers.h"
#include "core/survey/question.h"

namespace quorvant {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool IsFilterNumber(std::string_view text) {
  size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  size_t digits = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i) ++digits;
  if (i < text.size() && text[i] == '.') {
    for (++i; i < text.size() && IsDigit(text[i]); ++i) ++digits;
  }
  if (digits == 0 || i != text.size()) return false;
  // The expression reads the number as a double; one beyond its range (a few
  // hundred digits) would be accepted here and then fail to compile.
  const std::string_view unsigned_text = text.substr(text[0] == '+' || text[0] == '-' ? 1 : 0);
  double value = 0;
  const auto [end, ec] =
      std::from_chars(unsigned_text.data(), unsigned_text.data() + unsigned_text.size(), value);
  return ec == std::errc() && end == unsigned_text.data() + unsigned_text.size();
}

std::string FilterNumberProblem(std::string_view text) {
  if (text.empty() || IsFilterNumber(text)) return {};
  const std::string_view trimmed = TrimBlanks(text);
  if (trimmed.size() != text.size() && IsFilterNumber(trimmed)) {
    return "Type the number without blanks before or after it.";
  }
  const std::string plain(trimmed);
  if (plain.find(',') != std::string::npos) {
    return "Use a point, not a comma, before the decimals (30.5).";
  }
  double value = 0;
  const auto [end, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
  const bool whole = end == plain.data() + plain.size();
  if (whole && ec == std::errc::result_out_of_range) return "The number is too large.";
  if (whole && ec == std::errc() && plain.find_first_of("eE") != std::string::npos) {
    return "Write the number out in digits, without an exponent (1000, not 1e3).";
  }
  return "Enter a plain number, such as 30 or -2.5.";
}

int TFilterList::AddChoiceCondition(const TQuestion& question, bool selected, int k) {
  const std::vector<std::string> lines = question.OptionLines();
  assert(k >= 0 && k < static_cast<int>(lines.size()));
  const std::string field = "QVX" + std::to_string(question.ID);
  const std::string index = std::to_string(k);
  std::string expression;
  if (question.Style == kStyleMultipleChoice) {
    expression = field + "_" + index + (selected ? "=\"Y\"" : "=\"N\"");
  } else {
    expression = field + (selected ? "=\"" : "<>\"") + index + "\"";
  }
  const std::string option = TextAfterTilde(lines[static_cast<size_t>(k)]);
  return Add(std::move(expression), (selected ? "Selected \"" : "Did not select \"") + option +
                                        "\" in \"" + question.Text + "\"");
}

int TFilterList::AddNumericCondition(const TQuestion& question, int op, const std::string& value) {
  if (!IsFilterNumber(value)) return -1;
  const std::string field = "QVX" + std::to_string(question.ID);
  const std::string tail = "\"" + value + "\" in \"" + question.Text + "\"";
  switch (op) {
    case kFilterGreaterThan:
      return Add(field + ">" + value, "Response greater than " + tail);
    case kFilterLessThan:
      return Add(field + "<" + value, "Response less than " + tail);
    default:
      return Add(field + "=" + value, "Response is equal to " + tail);
  }
}

int TFilterList::Add(std::string expression, std::string description) {
  expressions_.push_back(std::move(expression));
  descriptions_.push_back(std::move(description));
  return Count() - 1;
}

void TFilterList::Delete(int i) {
  if (i < 0 || i >= Count()) return;
  expressions_.erase(expressions_.begin() + i);
  descriptions_.erase(descriptions_.begin() + i);
}

void TFilterList::Clear() {
  expressions_.clear();
  descriptions_.clear();
}

int TFilterList::GetDescriptions(std::vector<std::string>& lines) const {
  lines = descriptions_;
  return Count();
}

void TFilterList::Assign(const TFilterList& other) {
  expressions_ = other.expressions_;
  descriptions_ = other.descriptions_;
}

std::string TFilterList::FilterExpression() const {
  std::string joined;
  for (const std::string& e : expressions_) {
    if (!joined.empty()) joined += " .AND. ";
    joined += e;
  }
  return joined;
}

}  // namespace quorvant
