#include "core/survey/question.h"

#include <algorithm>

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

std::vector<std::string> OptionLinesFromText(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    const size_t end = std::min(text.find('\n'), text.size());
    std::string_view line = text.substr(0, end);
    line = line.substr(0, line.find_last_not_of(" \t") + 1);
    lines.emplace_back(line);
    text.remove_prefix(std::min(end + 1, text.size()));
  }
  return lines;
}

}  // namespace quorvant
