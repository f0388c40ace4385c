// report_bench: the web report of a 30-question survey (25 charted
// questions, 5 text questions) over RECORDS records, against matplotlib
// drawing the same 25 bar charts as JPEG files of the same size and
// quality, in the same run. Our time covers every page and every chart
// image (drawn by the chart engine, written as baseline JPEG at quality 90)
// and the text pages' answers read through the table; matplotlib's covers
// only its drawing and saving loop. Prints both times (best of three) and
// the ratio ours / matplotlib (the target is at most 0.25).
//
// Usage: report_bench [RECORDS] (default 100000). Files go to a fresh
// folder under $TMPDIR, removed at the end. Needs python3-matplotlib.
#include <QGuiApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/analysis/chart_settings.h"
#include "app/chart/chart_jpeg.h"
#include "core/analysis/result_counting.h"
#include "core/reports/web_report.h"
#include "core/responses/response_table.h"
#include "core/shell/quiet_prompts.h"
#include "core/shell/settings_store.h"
#include "core/survey/question_list.h"
#include "core/survey/survey.h"
#include "response_rows.h"

namespace {

using namespace quorvant;
using Clock = std::chrono::steady_clock;
const QSize kSize(800, 600);

double Since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  const int records = argc > 1 ? std::atoi(argv[1]) : 100000;
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication application(argc, argv);
  const char* tmp = std::getenv("TMPDIR");
  const std::filesystem::path dir =
      std::filesystem::path(tmp ? tmp : "/tmp") / ("report_bench_" + std::to_string(getpid()));
  std::filesystem::create_directories(dir / "site");
  std::filesystem::create_directories(dir / "mpl");

  SettingsStore settings;
  TSurvey survey(settings);
  bench::AddAnalysisQuestions(survey);
  // 26 charted and 4 text questions there; one more text question makes 25
  // and 5.
  survey.Item(0).Style = kStyleText;
  survey.Item(0).LengthOfResponse = 20;
  survey.SetFileName((dir / "s.qvx").string());
  QuietPrompts prompts;
  TResponseTable responses(prompts);
  responses.Create(survey);
  sqlite3* db =
      bench::BuildResponses(survey, responses.table(), records, (dir / "s.sqlite").string());
  sqlite3_close(db);
  survey.SetSRResponseCount(records);
  ComputeResults(survey, responses, prompts);
  const QuestionListing listing = RebuildQuestionList(survey);

  // The charts' data for matplotlib: the points our chart shows.
  std::ofstream charts(dir / "charts.txt");
  int charted = 0;
  for (const int item : listing.analysis_items) {
    const TQuestion& q = survey.Item(item);
    if (q.Style == kStyleText) continue;
    app::TChart chart;
    app::FillChart(chart, q, survey.Results());
    charts << q.Text;
    for (const app::ChartPoint& p : chart.Series(app::SeriesKind::kBar).Points()) {
      charts << "|" << p.label.toStdString() << "=" << p.value;
    }
    charts << "\n";
    ++charted;
  }
  charts.close();

  const app::ChartBackground background = app::StoredBackground(settings);
  WebReportHooks hooks;
  double chart_seconds = 0;
  hooks.write_chart = [&](int item, const std::string& path) {
    const Clock::time_point start = Clock::now();
    app::TChart chart;
    app::PrepareQuestionChart(chart, survey.Item(item), survey.Results(), background);
    const bool written = app::WriteChartJpeg(chart, kSize, path);
    chart_seconds += Since(start);
    return written;
  };
  const WebReportNames names((dir / "site").string(), survey.FileName(), ".htm");
  double ours = 1e9;
  double ours_charts = 0;
  for (int run = 0; run < 3; ++run) {
    chart_seconds = 0;
    const Clock::time_point start = Clock::now();
    const WebReportResult r =
        WriteWebReport(survey, &responses.table(), names, listing.analysis_items, hooks);
    const double took = Since(start);
    if (took < ours) {
      ours = took;
      ours_charts = chart_seconds;
    }
    if (!r.ok) {
      std::fprintf(stderr, "report failed: %s\n", r.error.c_str());
      return 1;
    }
  }

  double reference = 1e9;
  const std::string script = std::string(QUORVANT_SOURCE_DIR) + "/bench/report_charts.py";
  for (int run = 0; run < 3; ++run) {
    const std::string command = "/usr/bin/python3 '" + script + "' '" +
                                (dir / "charts.txt").string() + "' '" + (dir / "mpl").string() +
                                "' 800 600";
    FILE* pipe = popen(command.c_str(), "r");
    double seconds = 0;
    if (pipe == nullptr || std::fscanf(pipe, "%lf", &seconds) != 1 || pclose(pipe) != 0) {
      std::fprintf(stderr, "matplotlib did not run (apt-get install python3-matplotlib)\n");
      return 1;
    }
    reference = std::min(reference, seconds);
  }
  std::filesystem::remove_all(dir);
  std::printf("records %d, %d charted + %zu text questions\n", records, charted,
              listing.analysis_items.size() - charted);
  std::printf("web report (pages + %d JPEG charts): %.3f s\n", charted, ours);
  std::printf("  of which the chart images:       %.3f s\n", ours_charts);
  std::printf("matplotlib (%d JPEG charts):        %.3f s\n", charted, reference);
  std::printf("ratio ours / matplotlib: %.3f (target <= 0.25)\n", ours / reference);
  return 0;
}
