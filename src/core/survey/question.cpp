#include "core/survey/question.h"

#include "core/survey/comma_text.h"

namespace quorvant {

bool IsChoiceStyle(int style) {
  return style == kStyleSingleChoice || style == kStyleMultipleChoice ||
         style == kStyleSlidingScale || style == kStylePulldown;
}

std::vector<std::string> TQuestion::OptionLines() const { return SplitCommaText(Options); }

void TQuestion::SetOptionLines(const std::vector<std::string>& lines) {
  Options = JoinCommaText(lines);
}

}  // namespace quorvant
