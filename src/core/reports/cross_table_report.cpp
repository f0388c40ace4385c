#include "core/reports/cross_table_report.h"

#include <algorithm>
#include <vector>

#include "core/reports/report_page.h"
#include "core/reports/report_texts.h"

namespace quorvant {
namespace {

constexpr TextStyle kHead{.bold = true};
constexpr TextStyle kNotes{.points = -2};

bool IsHead(const CrossGrid& grid, size_t line, size_t column) {
  return line == 0 || static_cast<int>(column) < grid.label_columns;
}

// The right edge of each column, from the left margin.
std::vector<int> ColumnEdges(ReportPage& page, const CrossGrid& grid) {
  const int gap = 2 * page.TW();
  std::vector<int> widths(grid.cells.front().size(), 0);
  for (size_t i = 0; i < grid.cells.size(); ++i) {
    for (size_t k = 0; k < grid.cells[i].size(); ++k) {
      page.canvas().SetTextStyle(IsHead(grid, i, k) ? kHead : TextStyle{});
      widths[k] = std::max(widths[k], page.canvas().TextWidth(grid.cells[i][k]));
    }
  }
  std::vector<int> edges;
  int x = page.L();
  for (const int w : widths) edges.push_back(x += w + gap);
  return edges;
}

}  // namespace

void PrintCrossTable(ReportPage& page, const CrossTablePrint& cross,
                     const std::string& filter_line) {
  const int L = page.L();
  page.Text(L, "Cross Tabulation", kLargerBold);
  page.Advance(2 * (page.TH() + 10));
  for (const std::string& line : {RowsLine(cross.table), ColumnsLine(cross.table)}) {
    page.Text(L, line, {.bold = true});
    page.Advance(page.TH() + 10);
  }
  if (!filter_line.empty()) {
    page.Text(L, filter_line, kNotes);
    page.Advance(page.TH() + 10);
  }
  page.canvas().SetTextStyle({});
  page.Advance(page.TH());
  page.BreakTest();

  const CrossGrid grid = LayOutCrossTable(cross.table, cross.percents);
  const std::vector<int> edges = ColumnEdges(page, grid);
  const int right = std::min(edges.back(), page.PW() - L);
  for (size_t i = 0; i < grid.cells.size(); ++i) {
    if (i > 0 && grid.starts_row[i]) page.Rule(L, right);
    for (size_t k = 0; k < grid.cells[i].size(); ++k) {
      const bool head = IsHead(grid, i, k);
      page.canvas().SetTextStyle(head ? kHead : TextStyle{});
      const std::string& text = grid.cells[i][k];
      const int left = k == 0 ? L : edges[k - 1];
      // Labels stand at the left of their column, numbers at its right.
      const int x = head && static_cast<int>(k) < grid.label_columns
                        ? left
                        : edges[k] - 2 * page.TW() - page.canvas().TextWidth(text);
      if (x < page.PW() - L) page.Text(x, text, head ? kHead : TextStyle{});
    }
    page.canvas().SetTextStyle({});
    page.Advance(page.TH() + 10);
    page.BreakTest();
  }
  page.Rule(L, right);
  page.Advance(page.TH());
  page.BreakTest();
  for (const std::string& note : CrossTableNotes(cross.table, cross.test)) {
    page.Text(L, note);
    page.Advance(page.TH() + 10);
    page.BreakTest();
  }
}

}  // namespace quorvant
