// The empty results list of a survey's items, before any record is counted:
// per choice question one entry for each option line (the text after its
// first "~" as label) and, with IncludeOther, one labelled "Other" whose
// index is the number of lines; per Numeric question its statistics with
// their start values and its groups. Text questions and headers add nothing.
#pragma once

#include <string>
#include <vector>

namespace quorvant {

class TResultsList;
struct TQuestion;

// The labels of a choice question's entries, in order: each option line's
// text after its first "~", then "Other" when the question offers it.
std::vector<std::string> OptionLabels(const TQuestion& question);

// Requires: list is empty.
void BuildResultEntries(const std::vector<TQuestion>& items, TResultsList& list);

}  // namespace quorvant
