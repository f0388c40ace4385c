#include "core/analysis/answer_view_filter.h"

#include "core/survey/question.h"

namespace quorvant {

std::string AnswerViewFilter(const TQuestion& question, const std::string& filter) {
  if (question.Style != kStyleText) return filter;
  const std::string field = "QVX" + std::to_string(question.ID);
  const std::string joined = filter.empty() ? "" : filter + " .AND. ";
  if (question.LengthOfResponse == -1) return joined + ".NOT. EMPTY( " + field + ")";
  return joined + "LEFT( " + field + ", 1) > \" \"";
}

}  // namespace quorvant
