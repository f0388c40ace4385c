// The cross table in the printed analysis: a page that ends the report,
// with the two questions, the filter, the table as the Cross Tabulation
// window lays it out (counts and the percentages shown there) and the
// lines under it. Columns are as wide as their widest text; a table wider
// than the page is cut at its right margin.
#pragma once

#include "core/analysis/chi_square.h"
#include "core/analysis/cross_table.h"
#include "core/analysis/cross_table_text.h"

namespace quorvant {

class ReportPage;

struct CrossTablePrint {
  CrossTable table;
  IndependenceTest test;
  CrossPercents percents;
};

// Prints from the page's present position on, breaking pages as needed.
void PrintCrossTable(ReportPage& page, const CrossTablePrint& cross,
                     const std::string& filter_line);

}  // namespace quorvant
