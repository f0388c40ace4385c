// The cross table as people read it: a grid of texts that the window's
// table, the clipboard's text and HTML and the printed analysis all show,
// and the lines under it (blank answers, the test, its notes). The grid's
// first row heads the columns; each row category takes one line for its
// counts and one more for each percentage shown, and the totals come last.
#pragma once

#include <string>
#include <vector>

namespace quorvant {

struct CrossTable;
struct IndependenceTest;

// Which percentages the table shows under each count.
struct CrossPercents {
  bool row = false;
  bool column = false;
  bool total = false;
  bool Any() const { return row || column || total; }
};

struct CrossGrid {
  // cells[0] is the head line. Each line has the row label, then (when a
  // percentage is shown) what the line gives ("Count", "Row %", ...), then
  // a text per column and the row's total.
  std::vector<std::vector<std::string>> cells;
  int label_columns = 1;  // 1, or 2 with the measure column
  // Per line: true for the first line of a row category, where its label stands.
  std::vector<bool> starts_row;
};

CrossGrid LayOutCrossTable(const CrossTable& table, const CrossPercents& percents);

// "Rows: 3) text" and "Columns: 5) text".
std::string RowsLine(const CrossTable& table);
std::string ColumnsLine(const CrossTable& table);

// The lines under the table: the records counted and the blank answers
// left out, then the test (chi-square, df, p, Cramér's V) or why there is
// none, and the note on small expected counts when it applies.
std::vector<std::string> CrossTableNotes(const CrossTable& table, const IndependenceTest& test);

// The whole as plain text, tab-separated: the filter line (when given),
// the axes, the grid and the notes.
std::string CrossTableText(const CrossTable& table, const IndependenceTest& test,
                           const CrossPercents& percents, const std::string& filter_line);
// The same as an HTML fragment; every text is escaped, none is markup.
std::string CrossTableHtml(const CrossTable& table, const IndependenceTest& test,
                           const CrossPercents& percents, const std::string& filter_line);

// A p-value as shown: four decimals, or three significant digits with an
// exponent below 0.0001 ("1.52e-23").
std::string PValueText(double p);

}  // namespace quorvant
