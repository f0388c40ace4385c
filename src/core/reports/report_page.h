// ReportPage: the page engine of the printed survey and analysis reports.
// It keeps the left margin L, the position Y and the page number; every
// page starts with the report's title, two heavy rules and the footer with
// the page number, all drawn before the page's lines.
//
// TH and TW are the height and width of "X" in the canvas's current style.
//
// Ownership: borrows the canvas, which must outlive it. Thread-safety: none.
#pragma once

#include <string>
#include <string_view>

#include "core/reports/page_canvas.h"
#include "core/reports/report_state.h"

namespace quorvant {

class ReportPage {
 public:
  static constexpr int kMargin = 20;
  static constexpr int kTickPen = 4;

  explicit ReportPage(PageCanvas& canvas);

  PageCanvas& canvas() { return canvas_; }
  int L() const { return kMargin; }
  int Y() const { return state_.y(); }
  void Advance(int dy) { state_.Advance(dy); }
  int page() const { return state_.page(); }
  int TH() { return canvas_.TextHeight("X"); }
  int TW() { return canvas_.TextWidth("X"); }
  int PW() const { return canvas_.PageWidth(); }
  int PH() const { return canvas_.PageHeight(); }

  // Page 1, the report font and the first page's header.
  void Begin(const std::string& title);
  // A new page once Y has passed PH - 2 x TH - 15.
  void BreakTest();
  void NewPage();

  // Sets the style and draws text at (x, Y).
  void Text(int x, std::string_view text, const TextStyle& style = {});
  // The pen width, kept here because a canvas does not tell it.
  void SetPen(int width);
  int pen() const { return pen_; }
  // A rule across (x1, Y) to (x2, Y) in the current pen.
  void Rule(int x1, int x2);

 private:
  void Header();

  PageCanvas& canvas_;
  ReportState state_;
  std::string title_;
  int pen_ = 1;
};

}  // namespace quorvant
