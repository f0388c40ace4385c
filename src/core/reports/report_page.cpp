#include "core/reports/report_page.h"

namespace quorvant {

ReportPage::ReportPage(PageCanvas& canvas)
    : canvas_(canvas),
      state_(
          canvas, [this](ReportState&) { Header(); }, nullptr) {}

void ReportPage::Begin(const std::string& title) {
  title_ = title;
  canvas_.SetTextStyle({});
  SetPen(1);
  state_.Begin();
}

void ReportPage::BreakTest() {
  // The test runs in whatever style the last line left; the limit is that
  // style's, as on the printer.
  if (PH() - 2 * TH() - 15 < Y()) NewPage();
}

void ReportPage::NewPage() {
  canvas_.SetTextStyle({});
  // BreakIfPast(-1) always breaks: the position is never negative.
  state_.SetY(0);
  state_.BreakIfPast(-1);
}

void ReportPage::Text(int x, std::string_view text, const TextStyle& style) {
  canvas_.SetTextStyle(style);
  canvas_.DrawText(x, Y(), text);
}

void ReportPage::SetPen(int width) {
  pen_ = width;
  canvas_.SetPenWidth(width);
}

void ReportPage::Rule(int x1, int x2) { canvas_.DrawLine(x1, Y(), x2, Y()); }

void ReportPage::Header() {
  canvas_.SetTextStyle({.bold = true});
  canvas_.DrawText(kMargin, kMargin, title_);
  state_.SetY(canvas_.TextHeight("A") + 30);
  canvas_.SetTextStyle({});
  SetPen(kTickPen);
  Rule(kMargin, PW() - 10);
  state_.Advance(20);
  Rule(kMargin, PW() - 10);
  state_.Advance(10);
  const int footer = PH() - TH() - 15;
  canvas_.DrawLine(kMargin, footer, PW() - 10, footer);
  const std::string number = "Page " + std::to_string(state_.page());
  canvas_.DrawText(PW() / 2 - canvas_.TextWidth(number) / 2, footer + 10, number);
  SetPen(1);
}

}  // namespace quorvant
