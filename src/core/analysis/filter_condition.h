// Filter conditions typed on a command line, for scripts that count, chart
// or report under a filter:
//   ID=K, ID!=K  choice questions: selected / did not select option index K
//   ID>V, ID<V, ID=V  Numeric questions: greater than, less than, equal to V
// Each is added through TFilterList's own operations, so its expression and
// description are those the Filter Builder would make.
#pragma once

#include <string>
#include <string_view>

namespace quorvant {

class TFilterList;
class TSurvey;

// Adds the condition to filter. Returns "" on success, else a message naming
// the condition and what is wrong with it (unknown ID, a Text question or a
// header, an operator the style does not take, an option index out of
// range, a value that is not a number); the filter is then unchanged.
std::string AddFilterCondition(const TSurvey& survey, std::string_view condition,
                               TFilterList& filter);

}  // namespace quorvant
