// The grouping of a Numeric question's results, as the question editor
// proposes it: from the range it suggests a step, and from range and step it
// tells how many groups the results will fall into.
//
// The arguments are the editor's field texts; they are trimmed, and a blank
// minimum counts as 1 (so does 0), a blank maximum as 10, a blank step as 10.
#pragma once

#include <string_view>

namespace quorvant {

struct NumericGrouping {
  int step = 1;
  int groups = 1;
};

// After the minimum or the maximum changed: step = max div min, or
// (max - min) div 10 when that is above 10; groups = (max - min) / step
// rounded half to even. A step of 0 gives step 1 and 1 group.
NumericGrouping GroupingForRange(std::string_view min, std::string_view max);

// After the step changed: (max - min) / step rounded half to even; 1 when the
// step is 0.
int GroupsForStep(std::string_view min, std::string_view max, std::string_view step);

// The editor's whole-number field: the trimmed text as a number, `blank` when
// it is empty or not a number.
int FieldNumber(std::string_view text, int blank);

}  // namespace quorvant
