// ReportState: where a printed report stands, the vertical position on the
// page and the page number, and the page break. The report gives a page
// header (drawn at the top of every page, the first included) and a page
// footer (drawn on every page as it ends); both receive the state and may
// move the position.
//
// A break is tested only between the report's own lines (BreakIfPast), so a
// line is never split, and the last line of a page may reach past the
// limit the report chose.
//
// Ownership: borrows the canvas, which must outlive the state.
// Thread-safety: none.
#pragma once

#include <functional>

#include "core/reports/page_canvas.h"

namespace quorvant {

class ReportState {
 public:
  using PagePart = std::function<void(ReportState&)>;

  ReportState(PageCanvas& canvas, PagePart header, PagePart footer);

  PageCanvas& canvas() { return canvas_; }
  int page() const { return page_; }
  int y() const { return y_; }
  void SetY(int y) { y_ = y; }
  void Advance(int dy) { y_ += dy; }

  // Page 1 at position 0, then the header.
  void Begin();
  // When the position has passed limit: the footer, a new page, the page
  // number one up, position 0 and the header. True when it broke.
  bool BreakIfPast(int limit);
  // The last page's footer.
  void Finish();

 private:
  PageCanvas& canvas_;
  PagePart header_;
  PagePart footer_;
  int page_ = 1;
  int y_ = 0;
};

}  // namespace quorvant
