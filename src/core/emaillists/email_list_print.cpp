#include "core/emaillists/email_list_print.h"

#include <string>

#include "core/emaillists/email_list.h"
#include "core/emaillists/email_list_labels.h"
#include "core/reports/page_canvas.h"
#include "core/reports/report_state.h"

namespace quorvant {
namespace {

constexpr int kMargin = 10;
constexpr int kHeavyPen = 4;

// Writes one text per column from the left margin, each column as wide as
// its field in characters.
template <typename TextOf>
void WriteColumns(PageCanvas& canvas, int y, TextOf text_of) {
  const int char_width = canvas.TextWidth("a");
  int x = kMargin;
  for (int field = 0; field < kEmailFieldCount; ++field) {
    canvas.DrawText(x, y, text_of(field));
    x += char_width * kEmailListFields[static_cast<size_t>(field)].width;
  }
}

void Rule(PageCanvas& canvas, int y) {
  canvas.DrawLine(kMargin, y, canvas.PageWidth() - kMargin, y);
}

void PageHeader(ReportState& state, const std::string& caption, int sort_field) {
  PageCanvas& canvas = state.canvas();
  canvas.SetTextStyle({.bold = true});
  canvas.DrawText(kMargin, kMargin, caption);
  canvas.SetTextStyle({});
  state.SetY(canvas.TextHeight("A") + 30);
  canvas.SetPenWidth(kHeavyPen);
  Rule(canvas, state.y());
  state.Advance(20);
  WriteColumns(canvas, state.y(), [&](int field) { return EmailColumnTitle(field, sort_field); });
  state.Advance(canvas.TextHeight("A") + 15);
  Rule(canvas, state.y());
  state.Advance(10);
  canvas.SetPenWidth(1);
}

void PageFooter(ReportState& state) {
  PageCanvas& canvas = state.canvas();
  const int y = canvas.PageHeight() - canvas.TextHeight("X") - 15;
  canvas.SetPenWidth(kHeavyPen);
  Rule(canvas, y);
  const std::string page = "Page " + std::to_string(state.page());
  canvas.DrawText((canvas.PageWidth() - canvas.TextWidth(page)) / 2, y + 10, page);
  canvas.SetPenWidth(1);
}

void RecordLine(ReportState& state, const EmailRecord& record) {
  PageCanvas& canvas = state.canvas();
  WriteColumns(canvas, state.y(), [&](int field) { return record[static_cast<size_t>(field)]; });
  state.Advance(canvas.TextHeight("A") + 10);
  Rule(canvas, state.y());
  state.Advance(10);
}

}  // namespace

void PrintEmailList(TEmailList& list, PageCanvas& canvas) {
  const std::string caption = EmailListCaption(list.path());
  const int sort_field = list.SortField();
  ReportState state(
      canvas, [&](ReportState& s) { PageHeader(s, caption, sort_field); }, PageFooter);
  const std::vector<uint32_t> rows = list.RowsInOrder();
  state.Begin();
  const int limit = canvas.PageHeight() - 2 * canvas.TextHeight("X") - 15;
  for (size_t i = 0; i < rows.size(); ++i) {
    RecordLine(state, list.Read(rows[i]));
    // No break after the last record, which would end on a page of headers.
    if (i + 1 < rows.size()) state.BreakIfPast(limit);
  }
  state.Finish();
}

}  // namespace quorvant
