// crosstab_bench: a cross table against SQLite, in one process, on the same
// rows. A response table of RECORDS records is built once: the 30-question
// layout of results_bench and, after it, a Single Choice question of 6
// options and a Pulldown question of 8. Both sides count the 6 x 8 table of
// those two, first over every record and then under a two-condition filter
// (option 2 of the first question, the first Numeric question above 30).
// SQLite answers with SELECT a, b, COUNT(*) ... GROUP BY a, b, the filter
// as its WHERE clause. Both tables are compared and must be equal. Prints
// the best of three times for each side and the ratios ours / SQLite (the
// target is at most 0.5 each).
//
// Usage: crosstab_bench [RECORDS] (default 1000000). Files go to a fresh
// folder under $TMPDIR, removed at the end.
#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/analysis/cross_table.h"
#include "core/analysis/cross_table_counting.h"
#include "core/analysis/result_counting.h"
#include "core/responses/response_table.h"
#include "core/survey/comma_text.h"
#include "core/survey/survey.h"
#include "response_rows.h"

namespace {

using namespace quorvant;
using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

void AddCrossQuestions(TSurvey& s) {
  bench::AddAnalysisQuestions(s);
  s.AddItem("six", kStyleSingleChoice, 0, 0, 0, false, 0,
            JoinCommaText({"a", "b", "c", "d", "e", "f"}));
  s.AddItem("eight", kStylePulldown, 0, 0, 0, false, 0,
            JoinCommaText({"1", "2", "3", "4", "5", "6", "7", "8"}));
}

// SQLite's groups as the cells of a rows x columns table, rows of a blank
// answer left out; blank receives their number.
std::vector<uint64_t> SqliteCells(sqlite3_stmt* select, size_t rows, size_t columns,
                                  uint64_t& blank) {
  std::vector<uint64_t> cells(rows * columns, 0);
  blank = 0;
  int rc;
  while ((rc = sqlite3_step(select)) == SQLITE_ROW) {
    const uint64_t n = static_cast<uint64_t>(sqlite3_column_int64(select, 2));
    if (sqlite3_column_type(select, 0) == SQLITE_NULL ||
        sqlite3_column_type(select, 1) == SQLITE_NULL) {
      blank += n;
      continue;
    }
    const size_t r = static_cast<size_t>(
        std::atoi(reinterpret_cast<const char*>(sqlite3_column_text(select, 0))));
    const size_t c = static_cast<size_t>(
        std::atoi(reinterpret_cast<const char*>(sqlite3_column_text(select, 1))));
    if (r < rows && c < columns) cells[r * columns + c] += n;
  }
  bench::CheckSqlite(rc, sqlite3_db_handle(select), "group by");
  sqlite3_reset(select);
  return cells;
}

}  // namespace

int main(int argc, char** argv) {
  const int records = argc > 1 ? std::atoi(argv[1]) : 1000000;
  const auto build = Clock::now();
  bench::BenchResponses bench("crosstab_bench", records, AddCrossQuestions);
  TSurvey& survey = bench.survey();
  TResponseTable& responses = bench.responses();
  sqlite3* db = bench.db();
  std::printf("crosstab_bench: built in %.1f s\n", Since(build));

  const int row_id = survey.Item(survey.ItemCount() - 2).ID;
  const int column_id = survey.Item(survey.ItemCount() - 1).ID;
  const std::string a = "QVX" + std::to_string(row_id), b = "QVX" + std::to_string(column_id);

  bool equal = true;
  double ratios[2] = {0, 0};
  for (int filtered = 0; filtered < 2; ++filtered) {
    const std::string where = bench::SetBenchFilter(survey, filtered);
    // The compute sets the filter as the table's query, as on the Analysis page.
    ComputeResults(survey, responses, bench.prompts());
    double ours_best = 1e9, theirs_best = 1e9;
    CrossTable ours;
    for (int run = 0; run < 3; ++run) {
      const auto start = Clock::now();
      ours = ComputeCrossTable(survey, responses, row_id, column_id);
      ours_best = std::min(ours_best, Since(start));
    }
    const std::string sql = "SELECT " + a + ", " + b + ", COUNT(*) FROM responses" + where +
                            " GROUP BY " + a + ", " + b;
    sqlite3_stmt* select = nullptr;
    bench::CheckSqlite(sqlite3_prepare_v2(db, sql.c_str(), -1, &select, nullptr), db,
                       "prepare select");
    std::vector<uint64_t> theirs;
    uint64_t blank = 0;
    for (int run = 0; run < 3; ++run) {
      const auto start = Clock::now();
      theirs = SqliteCells(select, ours.Rows(), ours.Columns(), blank);
      theirs_best = std::min(theirs_best, Since(start));
    }
    sqlite3_finalize(select);
    const bool same = theirs == ours.cells && blank == ours.blank;
    equal = equal && same;
    ratios[filtered] = ours_best / theirs_best;
    std::printf("%-16s ours %.3f s  sqlite %.3f s  ratio %.2f  (%zu x %zu cells %s, %u records)\n",
                filtered ? "two conditions:" : "no filter:", ours_best, theirs_best,
                ratios[filtered], ours.Rows(), ours.Columns(), same ? "equal" : "DIFFER",
                ours.records);
  }
  std::printf("crosstab_bench: ratios %.2f and %.2f (target <= 0.5 each), tables %s\n", ratios[0],
              ratios[1], equal ? "equal" : "DIFFER");
  return equal ? 0 : 1;
}
