#include "core/analysis/question_view_texts.h"

#include <cstdio>

#include "core/analysis/results.h"
#include "core/survey/question.h"

namespace quorvant {

std::string AverageText(double average) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%5.0f", average);
  return std::string("Average: ") + buffer;
}

std::string TypeLine(const TQuestion& question, const std::string& average_text) {
  switch (question.Style) {
    case kStyleSingleChoice:
      return "Type: Single Choice";
    case kStyleMultipleChoice:
      return "Type: Multiple Choice";
    case kStyleSlidingScale:
      return "Type: Sliding Scale";
    case kStyleText:
      return "Type: Text";
    case kStylePulldown:
      return "Type: Single Choice / Pulldown";
    case kStyleNumeric:
      return "Type: Numeric Value\r\n" + average_text;
    default:
      return {};
  }
}

std::string ChartTitle(const TQuestion& question, const TResultsList& results,
                       const std::string& previous_average) {
  std::string average = previous_average;
  if (question.Style == kStyleNumeric) {
    if (const TNumericResults* n = results.NumericOf(question.ID))
      average = AverageText(n->Average);
  }
  return question.Text + "\r\n" + TypeLine(question, average);
}

}  // namespace quorvant
