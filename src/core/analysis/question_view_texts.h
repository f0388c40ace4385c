// The texts the Analysis page shows above a question's chart: its type line
// and, for Numeric questions, the average.
#pragma once

#include <string>

namespace quorvant {

class TResultsList;
struct TQuestion;

// "Average: " + the average formatted with "%5.0f" (at least five
// characters, right aligned, no decimals).
std::string AverageText(double average);

// "Type: Single Choice", "Type: Multiple Choice", "Type: Sliding Scale",
// "Type: Text", "Type: Single Choice / Pulldown", or for Numeric questions
// "Type: Numeric Value" + CR LF + average_text; "" for headers.
std::string TypeLine(const TQuestion& question, const std::string& average_text);

// The chart's title: the question's text, CR LF, the type line. The
// average is the question's TNumericResults' when it has one, else
// `previous_average` (the page keeps the text it showed last).
std::string ChartTitle(const TQuestion& question, const TResultsList& results,
                       const std::string& previous_average = AverageText(0));

}  // namespace quorvant
