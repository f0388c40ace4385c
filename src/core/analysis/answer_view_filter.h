// The view filter under which a question's typed answers are listed: the
// analysis filter and, for a Text question, only the records that hold an
// answer. The Analysis page and the printed analysis list the same records.
#pragma once

#include <string>

namespace quorvant {

struct TQuestion;

// filter + " .AND. " + ".NOT. EMPTY( QVX<id>)" for a memo answer, or
// + "LEFT( QVX<id>, 1) > \" \"" for a fixed-length one (without the
// " .AND. " when filter is empty); filter itself for any other question.
std::string AnswerViewFilter(const TQuestion& question, const std::string& filter);

}  // namespace quorvant
