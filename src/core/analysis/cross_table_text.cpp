#include "core/analysis/cross_table_text.h"

#include <cstdio>
#include <functional>

#include "core/analysis/chi_square.h"
#include "core/analysis/cross_table.h"
#include "core/webpage/html_escape.h"

namespace quorvant {
namespace {

std::string Format(const char* format, double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, format, value);
  return buffer;
}

std::string PercentText(double percent) { return Format("%.1f%%", percent); }

double Share(uint64_t part, uint64_t whole) {
  return whole == 0 ? 0.0 : 100.0 * static_cast<double>(part) / static_cast<double>(whole);
}

// One measure of the grid: its name and its text for a cell given by its
// count, row total and column total.
struct Measure {
  const char* name;
  std::function<std::string(uint64_t n, uint64_t row, uint64_t column)> text;
};

std::vector<Measure> Measures(const CrossTable& table, const CrossPercents& percents) {
  std::vector<Measure> measures{
      {"Count", [](uint64_t n, uint64_t, uint64_t) { return std::to_string(n); }}};
  if (percents.row) {
    measures.push_back(
        {"Row %", [](uint64_t n, uint64_t row, uint64_t) { return PercentText(Share(n, row)); }});
  }
  if (percents.column) {
    measures.push_back({"Column %", [](uint64_t n, uint64_t, uint64_t column) {
                          return PercentText(Share(n, column));
                        }});
  }
  if (percents.total) {
    const uint64_t total = table.total;
    measures.push_back({"Total %", [total](uint64_t n, uint64_t, uint64_t) {
                          return PercentText(Share(n, total));
                        }});
  }
  return measures;
}

std::string AxisLine(const char* what, const CrossAxis& axis) {
  return std::string(what) + axis.number + ") " + axis.text;
}

}  // namespace

std::string PValueText(double p) {
  if (p >= 0.0001) return Format("%.4f", p);
  if (p == 0) return "< 1e-300";
  return Format("%.3g", p);
}

CrossGrid LayOutCrossTable(const CrossTable& table, const CrossPercents& percents) {
  CrossGrid grid;
  grid.label_columns = percents.Any() ? 2 : 1;
  const std::vector<Measure> measures = Measures(table, percents);
  std::vector<std::string> head(static_cast<size_t>(grid.label_columns));
  for (const std::string& label : table.column.labels) head.push_back(label);
  head.push_back("Total");
  grid.cells.push_back(std::move(head));
  grid.starts_row.push_back(false);
  // Row r of the table, or the totals line for r == Rows().
  for (size_t r = 0; r <= table.Rows(); ++r) {
    const bool totals = r == table.Rows();
    const uint64_t row_total = totals ? table.total : table.row_totals[r];
    for (size_t m = 0; m < measures.size(); ++m) {
      std::vector<std::string> line;
      line.push_back(m > 0 ? "" : totals ? "Total" : table.row.labels[r]);
      if (percents.Any()) line.push_back(measures[m].name);
      for (size_t c = 0; c < table.Columns(); ++c) {
        const uint64_t n = totals ? table.column_totals[c] : table.Cell(r, c);
        line.push_back(measures[m].text(n, row_total, table.column_totals[c]));
      }
      line.push_back(measures[m].text(row_total, row_total, table.total));
      grid.cells.push_back(std::move(line));
      grid.starts_row.push_back(m == 0);
    }
  }
  return grid;
}

std::string RowsLine(const CrossTable& table) { return AxisLine("Rows: ", table.row); }
std::string ColumnsLine(const CrossTable& table) { return AxisLine("Columns: ", table.column); }

std::vector<std::string> CrossTableNotes(const CrossTable& table, const IndependenceTest& test) {
  std::vector<std::string> notes{"Records counted: " + std::to_string(table.records) +
                                 "; left out for a blank answer: " + std::to_string(table.blank)};
  if (!test.done) {
    notes.push_back(test.reason);
    return notes;
  }
  notes.push_back("Pearson chi-square: " + Format("%.3f", test.chi_square) +
                  ", df: " + std::to_string(test.df) + ", p: " + PValueText(test.p) +
                  "; Cramér's V: " + Format("%.3f", test.cramers_v));
  if (test.FewExpected()) {
    notes.push_back(std::to_string(test.small_cells) + " of " + std::to_string(test.cells) +
                    " cells (" + PercentText(Share(test.small_cells, test.cells)) +
                    ") expect fewer than 5 answers: the chi-square test may not be reliable.");
  }
  return notes;
}

std::string CrossTableText(const CrossTable& table, const IndependenceTest& test,
                           const CrossPercents& percents, const std::string& filter_line) {
  std::string out;
  if (!filter_line.empty()) out += filter_line + "\n";
  out += RowsLine(table) + "\n" + ColumnsLine(table) + "\n\n";
  for (const std::vector<std::string>& line : LayOutCrossTable(table, percents).cells) {
    for (size_t k = 0; k < line.size(); ++k) out += (k > 0 ? "\t" : "") + line[k];
    out += "\n";
  }
  out += "\n";
  for (const std::string& note : CrossTableNotes(table, test)) out += note + "\n";
  return out;
}

std::string CrossTableHtml(const CrossTable& table, const IndependenceTest& test,
                           const CrossPercents& percents, const std::string& filter_line) {
  std::string out;
  auto paragraph = [&out](const std::string& text) {
    out += "<p>";
    AppendEscapedHtml(out, text);
    out += "</p>\n";
  };
  if (!filter_line.empty()) paragraph(filter_line);
  paragraph(RowsLine(table));
  paragraph(ColumnsLine(table));
  const CrossGrid grid = LayOutCrossTable(table, percents);
  out += "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\">\n";
  for (size_t i = 0; i < grid.cells.size(); ++i) {
    out += "<tr>";
    for (size_t k = 0; k < grid.cells[i].size(); ++k) {
      const bool head = i == 0 || static_cast<int>(k) < grid.label_columns;
      out += head ? "<th>" : "<td align=\"right\">";
      AppendEscapedHtml(out, grid.cells[i][k]);
      out += head ? "</th>" : "</td>";
    }
    out += "</tr>\n";
  }
  out += "</table>\n";
  for (const std::string& note : CrossTableNotes(table, test)) paragraph(note);
  return out;
}

}  // namespace quorvant
