#include "core/survey/numeric_grouping.h"

#include <cmath>

#include "core/shell/text_helpers.h"

namespace quorvant {
namespace {

int RoundHalfToEven(double value) {
  const double below = std::floor(value);
  const double fraction = value - below;
  if (fraction > 0.5) return static_cast<int>(below) + 1;
  if (fraction < 0.5) return static_cast<int>(below);
  const int low = static_cast<int>(below);
  return low % 2 == 0 ? low : low + 1;
}

int Minimum(std::string_view text) {
  const int min = FieldNumber(text, 1);
  return min == 0 ? 1 : min;
}

}  // namespace

int FieldNumber(std::string_view text, int blank) {
  int value = 0;
  return ParseInt(TrimBlanks(text), value) ? value : blank;
}

NumericGrouping GroupingForRange(std::string_view min_text, std::string_view max_text) {
  const int min = Minimum(min_text);
  const int max = FieldNumber(max_text, 10);
  int step = max / min;
  if (step > 10) step = (max - min) / 10;
  if (step == 0) return {};
  return {step, RoundHalfToEven(static_cast<double>(max - min) / step)};
}

int GroupsForStep(std::string_view min_text, std::string_view max_text,
                  std::string_view step_text) {
  const int step = FieldNumber(step_text, 10);
  if (step == 0) return 1;
  return RoundHalfToEven(static_cast<double>(FieldNumber(max_text, 10) - Minimum(min_text)) / step);
}

}  // namespace quorvant
