// results_bench: Compute results against SQLite, in one process, on the same
// rows. A response table of RECORDS records for a 30-question layout (every
// style, Other answers, numeric groups) is built once; then both sides count
// every entry, first without a filter and then with a two-condition filter.
// SQLite holds the same rows and answers with the fastest single pass it
// has: one SELECT of SUM(...), COUNT, MAX, MIN expressions, one per entry of
// the results list, the filter as its WHERE clause. Both sets of counts are
// compared and must be equal. Prints the best of three times for each side
// and the ratios ours / SQLite (the target is at most 1.0 each).
//
// Usage: results_bench [RECORDS] (default 1000000). Files go to a fresh
// folder under $TMPDIR, removed at the end.
#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "core/analysis/result_counting.h"
#include "core/analysis/results.h"
#include "core/responses/response_table.h"
#include "core/shell/quiet_prompts.h"
#include "core/survey/survey.h"
#include "response_rows.h"

namespace {

using namespace quorvant;
using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// SELECT list entries in the order of the results list, and how to read them.
std::string SelectList(const TSurvey& survey, const TResultsList& results) {
  std::string select;
  auto add = [&](const std::string& e) { select += (select.empty() ? "" : ",") + e; };
  for (const auto& entry : results.Entries()) {
    const TQuestion* q = nullptr;
    for (const TQuestion& item : survey.Items()) {
      if (item.ID == entry->QuestionID) q = &item;
    }
    const std::string f = "QVX" + std::to_string(q->ID);
    if (auto* c = dynamic_cast<const TCountResults*>(entry.get())) {
      const int options = static_cast<int>(q->OptionLines().size());
      if (q->Style == kStyleMultipleChoice) {
        add("SUM(" + (c->Index == options ? f : f + "_" + std::to_string(c->Index)) + "='Y')");
      } else {
        add("SUM(" + f +
            (c->Index == options ? "='Oth')" : "='" + std::to_string(c->Index) + "')"));
      }
    } else if (auto* n = dynamic_cast<const TNumericResults*>(entry.get())) {
      const std::string valid = "CASE WHEN " + f + "<>-9999 THEN " + f + " END";
      add("TOTAL(" + valid + ")");
      add("COUNT(" + valid + ")");
      add("MAX(" + valid + ")");
      add("MIN(" + valid + ")");
      for (const TCountResults& g : n->Groups) {
        add("SUM(" + f + " BETWEEN " + std::to_string(g.Low) + " AND " + std::to_string(g.High) +
            ")");
      }
    }
  }
  return select;
}

// Our results as the numbers the SELECT returns, in the same order.
std::vector<double> Flatten(const TResultsList& results) {
  std::vector<double> out;
  for (const auto& entry : results.Entries()) {
    if (auto* c = dynamic_cast<const TCountResults*>(entry.get())) {
      out.push_back(c->Count);
    } else if (auto* n = dynamic_cast<const TNumericResults*>(entry.get())) {
      out.insert(out.end(), {n->Total, n->Count, n->Highest, n->Lowest});
      for (const TCountResults& g : n->Groups) out.push_back(g.Count);
    }
  }
  return out;
}

// SQLite's answer in the same form: without a valid value Highest is 0 and
// Lowest says "none" with -100000, as the results list has them.
std::vector<double> SqliteCounts(sqlite3_stmt* select, const TResultsList& results) {
  bench::CheckSqlite(sqlite3_step(select), sqlite3_db_handle(select), "select");
  std::vector<double> out;
  int column = 0;
  for (const auto& entry : results.Entries()) {
    if (dynamic_cast<const TCountResults*>(entry.get()) != nullptr) {
      out.push_back(sqlite3_column_double(select, column++));
    } else if (auto* n = dynamic_cast<const TNumericResults*>(entry.get())) {
      const double total = sqlite3_column_double(select, column++);
      const double count = sqlite3_column_double(select, column++);
      const bool none = sqlite3_column_type(select, column) == SQLITE_NULL;
      const double high = none ? 0 : sqlite3_column_double(select, column);
      const double low = none ? -100000 : sqlite3_column_double(select, column + 1);
      column += 2;
      out.insert(out.end(), {total, count, high, low});
      for (size_t g = 0; g < n->Groups.size(); ++g) {
        out.push_back(sqlite3_column_double(select, column++));
      }
    }
  }
  sqlite3_reset(select);
  return out;
}

struct Side {
  double best = 1e9;
  std::vector<double> counts;
};

}  // namespace

int main(int argc, char** argv) {
  const int records = argc > 1 ? std::atoi(argv[1]) : 1000000;
  const auto build = Clock::now();
  bench::BenchResponses bench("results_bench", records);
  TSurvey& survey = bench.survey();
  TResponseTable& responses = bench.responses();
  QuietPrompts& prompts = bench.prompts();
  sqlite3* db = bench.db();
  std::printf("results_bench: built in %.1f s\n", Since(build));

  bool equal = true;
  double ratios[2] = {0, 0};
  for (int filtered = 0; filtered < 2; ++filtered) {
    const std::string where = bench::SetBenchFilter(survey, filtered);
    Side ours, theirs;
    for (int run = 0; run < 3; ++run) {
      const auto start = Clock::now();
      ComputeResults(survey, responses, prompts);
      ours.best = std::min(ours.best, Since(start));
    }
    ours.counts = Flatten(survey.Results());
    const std::string sql =
        "SELECT " + SelectList(survey, survey.Results()) + " FROM responses" + where;
    sqlite3_stmt* select = nullptr;
    bench::CheckSqlite(sqlite3_prepare_v2(db, sql.c_str(), -1, &select, nullptr), db,
                       "prepare select");
    for (int run = 0; run < 3; ++run) {
      const auto start = Clock::now();
      theirs.counts = SqliteCounts(select, survey.Results());
      theirs.best = std::min(theirs.best, Since(start));
    }
    sqlite3_finalize(select);
    const bool same = ours.counts == theirs.counts;
    equal = equal && same;
    ratios[filtered] = ours.best / theirs.best;
    std::printf(
        "%-16s ours %.3f s  sqlite %.3f s  ratio %.2f  (%zu numbers %s, %u records counted)\n",
        filtered ? "two conditions:" : "no filter:", ours.best, theirs.best, ratios[filtered],
        ours.counts.size(), same ? "equal" : "DIFFER", responses.table().QueryCount());
  }
  std::printf("results_bench: ratios %.2f and %.2f (target <= 1.0 each), counts %s\n", ratios[0],
              ratios[1], equal ? "equal" : "DIFFER");
  return equal ? 0 : 1;
}
