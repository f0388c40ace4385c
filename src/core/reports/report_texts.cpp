#include "core/reports/report_texts.h"

#include "core/reports/report_page.h"
#include "core/survey/question.h"

namespace quorvant {

void TickMark(ReportPage& page, int style, int x) {
  PageCanvas& canvas = page.canvas();
  const int side = page.TH() - 5;
  const int top = page.Y() + 5;
  const int before = page.pen();
  page.SetPen(ReportPage::kTickPen);
  if (style == kStyleMultipleChoice) {
    canvas.DrawSquare(x, top, side);
  } else {
    canvas.DrawCircle(x + side / 2, top + side / 2, side / 2);
  }
  page.SetPen(before);
}

}  // namespace quorvant
