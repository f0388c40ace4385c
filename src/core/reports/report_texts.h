// Pieces shared by the printed survey and analysis reports.
#pragma once

#include "core/reports/page_canvas.h"

namespace quorvant {

class ReportPage;

// Bold at 2 points larger: headers and question titles.
inline constexpr TextStyle kLargerBold{.bold = true, .points = 2};

// The tick mark at (x, Y): with pen width 4, a square for Multiple Choice,
// a circle for the other styles, in the box from (x, Y + 5) to
// (x + TH - 5, Y + TH). The pen goes back to its width before.
void TickMark(ReportPage& page, int style, int x);

}  // namespace quorvant
