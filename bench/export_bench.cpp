// export_bench: the research exports against their plain references, on the
// same RECORDS rows of the 30-question layout of the analysis benchmarks.
//  - .csv: WriteResponseFile against the sqlite3 program writing the same
//    table as CSV (sqlite3 -csv -header ... "SELECT * FROM responses").
//    Target: at most 1.0x.
//  - .sav: WriteResponseFile against PSPP turning that CSV into a .sav
//    (GET DATA /TYPE=TXT, then SAVE). Target: at most 0.5x.
// Each side runs three times in turn; every time is printed, then the
// ratios of the best times. Needs the sqlite3 program and pspp.
//
// Usage: export_bench [RECORDS] (default 1000000). Files go to a fresh
// folder under $TMPDIR, removed at the end.
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/export/response_file_export.h"
#include "core/shell/atomic_file.h"
#include "response_rows.h"

namespace {

using namespace quorvant;
using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

double Shell(const std::string& command) {
  const Clock::time_point start = Clock::now();
  if (std::system(command.c_str()) != 0) {
    std::fprintf(stderr, "export_bench: failed: %s\n", command.c_str());
    std::exit(1);
  }
  return Since(start);
}

double Ours(bench::BenchResponses& bench, const std::string& path, ExportFormat format) {
  const Clock::time_point start = Clock::now();
  const ExportSummary summary =
      WriteResponseFile(bench.survey(), bench.responses().table(), path, format, {});
  const double seconds = Since(start);
  if (summary.records == 0) std::exit(1);
  return seconds;
}

// PSPP's syntax that reads the CSV of the table's fields and saves a .sav.
std::string PsppSyntax(const std::vector<FieldDef>& fields, const std::string& csv,
                       const std::string& sav) {
  std::string syntax = "GET DATA /TYPE=TXT /FILE='" + csv +
                       "' /ARRANGEMENT=DELIMITED /DELCASE=LINE /FIRSTCASE=2 "
                       "/DELIMITERS=\",\" /QUALIFIER='\"' /VARIABLES=";
  for (const FieldDef& f : fields) {
    syntax += " " + f.name + " " +
              (f.type == 'N' ? std::string("F8.0")
                             : "A" + std::to_string(f.type == 'M' ? 254 : f.width));
  }
  return syntax + ".\nSAVE OUTFILE='" + sav + "'.\n";
}

}  // namespace

int main(int argc, char** argv) {
  const int records = argc > 1 ? std::atoi(argv[1]) : 1000000;
  bench::BenchResponses bench("export_bench", records);
  const std::string db = sqlite3_db_filename(bench.db(), "main");
  const std::filesystem::path dir = std::filesystem::path(db).parent_path();
  const std::string ref_csv = (dir / "ref.csv").string(), ref_sav = (dir / "ref.sav").string();
  const std::string syntax = (dir / "ref.sps").string();
  if (!WriteFileAtomically(syntax,
                           PsppSyntax(bench.responses().table().Fields(), ref_csv, ref_sav))) {
    return 1;
  }
  double best[4] = {1e9, 1e9, 1e9, 1e9};
  for (int run = 1; run <= 3; ++run) {
    const double csv = Ours(bench, (dir / "ours.csv").string(), ExportFormat::kCsv);
    const double sqlite =
        Shell("sqlite3 -csv -header '" + db + "' 'SELECT * FROM responses' > '" + ref_csv + "'");
    const double sav = Ours(bench, (dir / "ours.sav").string(), ExportFormat::kSav);
    const double pspp = Shell("pspp '" + syntax + "' > /dev/null");
    std::printf("run %d: .csv %.2f s, sqlite3 %.2f s; .sav %.2f s, PSPP %.2f s\n", run, csv,
                sqlite, sav, pspp);
    const double times[4] = {csv, sqlite, sav, pspp};
    for (int i = 0; i < 4; ++i) best[i] = std::min(best[i], times[i]);
  }
  std::printf(".csv / sqlite3: %.2fx (target at most 1.0)\n", best[0] / best[1]);
  std::printf(".sav / PSPP:    %.2fx (target at most 0.5)\n", best[2] / best[3]);
  return 0;
}
