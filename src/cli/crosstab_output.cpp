#include "cli/crosstab_output.h"

#include <vector>

#include "cli/json_text.h"
#include "core/analysis/chi_square.h"
#include "core/analysis/cross_table.h"
#include "core/analysis/cross_table_text.h"
#include "core/emaillists/csv_text.h"

namespace quorvant::cli {
namespace {

std::string JsonCounts(const std::vector<uint64_t>& counts, size_t first, size_t n) {
  std::string out = "[";
  for (size_t k = 0; k < n; ++k) out += (k > 0 ? ", " : "") + std::to_string(counts[first + k]);
  return out + "]";
}

std::string JsonAxis(const CrossAxis& axis) {
  std::string out = "{\"id\": " + std::to_string(axis.question_id) +
                    ", \"number\": " + JsonString(axis.number) +
                    ", \"text\": " + JsonString(axis.text) +
                    ", \"style\": " + std::to_string(axis.style) + ", \"labels\": [";
  for (size_t k = 0; k < axis.labels.size(); ++k) {
    out += (k > 0 ? ", " : "") + JsonString(axis.labels[k]);
  }
  return out + "]}";
}

}  // namespace

std::string CrossTablePlain(const CrossTable& table, const IndependenceTest& test,
                            const std::string& filter_line) {
  return CrossTableText(table, test, {}, filter_line);
}

std::string CrossTableJson(const CrossTable& table, const IndependenceTest& test,
                           const std::string& filter) {
  std::string out = "{\"row\": " + JsonAxis(table.row) +
                    ",\n \"column\": " + JsonAxis(table.column) +
                    ",\n \"filter\": " + JsonString(filter) + ",\n \"cells\": [";
  for (size_t r = 0; r < table.Rows(); ++r) {
    out += (r > 0 ? ", " : "") + JsonCounts(table.cells, r * table.Columns(), table.Columns());
  }
  const auto statistic = [&test](double value) {
    return test.done ? JsonNumber(value) : std::string("null");
  };
  out += "],\n \"row_totals\": " + JsonCounts(table.row_totals, 0, table.Rows()) +
         ",\n \"column_totals\": " + JsonCounts(table.column_totals, 0, table.Columns()) +
         ",\n \"total\": " + std::to_string(table.total) +
         ", \"blank\": " + std::to_string(table.blank) +
         ",\n \"chi_square\": " + statistic(test.chi_square) +
         ", \"df\": " + (test.done ? std::to_string(test.df) : std::string("null")) +
         ", \"p\": " + statistic(test.p) + ", \"cramers_v\": " + statistic(test.cramers_v) + "}\n";
  return out;
}

std::string CrossTableCsv(const CrossTable& table) {
  std::string out = CsvLine({"row_label", "column_label", "count"});
  for (size_t r = 0; r < table.Rows(); ++r) {
    for (size_t c = 0; c < table.Columns(); ++c) {
      out +=
          CsvLine({table.row.labels[r], table.column.labels[c], std::to_string(table.Cell(r, c))});
    }
  }
  return out;
}

}  // namespace quorvant::cli
