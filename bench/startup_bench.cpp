// startup_bench: start-up of the program to a ready, painted main window on
// a 2,000-item survey, side by side with a bare Qt Widgets window started
// the same way in the same run, and the time of RebuildQuestionList for that
// survey.
//
// Each start is a fresh process (this program run with --bare or --main), so
// that loading libraries, creating the application and painting count as
// they do for a person; the child ends itself at its first paint. Targets:
// the main window within 2x the bare window; the rebuild under 100 ms. Run
// with QT_QPA_PLATFORM=offscreen or under xvfb-run.
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QLabel>
#include <QMainWindow>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/shell/main_form.h"
#include "app/shell/message_prompts.h"
#include "app/shell/program_start.h"
#include "app/shell/window_dialogs.h"
#include "core/survey/survey.h"

namespace {

// Ends the process at the window's first paint, once it is on screen.
class ExitAtFirstPaint : public QObject {
 public:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      QMetaObject::invokeMethod(
          qApp, [] { ::_exit(0); }, Qt::QueuedConnection);
    }
    return false;
  }
};

int RunBare(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QMainWindow window;
  window.setCentralWidget(new QLabel("Bare window"));
  window.resize(600, 450);
  ExitAtFirstPaint exit_at_paint;
  window.installEventFilter(&exit_at_paint);
  window.show();
  return QApplication::exec();
}

// The program's own start, the same function its main() runs.
int RunMain(int argc, char* argv[], const QString& survey) {
  QApplication app(argc, argv);
  ExitAtFirstPaint exit_at_paint;
  return quorvant::app::RunProgram(
      {survey}, [&](QMainWindow& window) { window.installEventFilter(&exit_at_paint); });
}

std::string MakeSurvey(const QString& dir, quorvant::TSurvey& survey) {
  for (int i = 0; i < 2000; ++i) {
    const std::string n = std::to_string(i);
    if (i % 50 == 0) {
      survey.AddItem("Section " + n, quorvant::kStyleHeader, 0, 0, 0, false, 0, "");
    } else {
      survey.AddItem("Question number " + n + " of the long survey?", 1 + i % 6, 10, 100, 1, false,
                     i % 2 ? 40 : -1, "Yes~Y,No~N,Perhaps~P,Never");
    }
  }
  const std::string path = (dir + "/bench.qvx").toStdString();
  survey.SaveAs(path);
  return path;
}

double Milliseconds(const QElapsedTimer& timer) {
  return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

double TimeStart(const QStringList& arguments) {
  QElapsedTimer timer;
  timer.start();
  QProcess child;
  child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  child.start(QCoreApplication::applicationFilePath(), arguments);
  if (!child.waitForFinished(60000) || child.exitCode() != 0) {
    std::fprintf(stderr, "startup_bench: %s did not start\n", qPrintable(arguments.join(' ')));
    std::exit(1);
  }
  return Milliseconds(timer);
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc >= 2 && std::string_view(argv[1]) == "--bare") return RunBare(argc, argv);
  if (argc >= 3 && std::string_view(argv[1]) == "--main") {
    return RunMain(argc, argv, QString::fromLocal8Bit(argv[2]));
  }

  QTemporaryDir home;
  qputenv("HOME", home.path().toLocal8Bit());
  qputenv("XDG_DATA_HOME", (home.path() + "/data").toLocal8Bit());
  qputenv("QUORVANT_CONFIG_DIR", (home.path() + "/config").toLocal8Bit());
  QApplication app(argc, argv);
  quorvant::SettingsStore settings;
  quorvant::TSurvey survey(settings);
  const QString path = QString::fromStdString(MakeSurvey(home.path(), survey));
  quorvant::app::MessageBoxPrompts prompts;
  quorvant::app::StandardWindowDialogs dialogs;
  quorvant::app::TQVXMainForm form(prompts, dialogs, {path});
  form.show();
  QApplication::processEvents();

  TimeStart({"--main", path});  // the first run writes the fresh account's files
  std::vector<double> bare, full, rebuild;
  for (int run = 0; run < 7; ++run) {
    bare.push_back(TimeStart({"--bare"}));
    full.push_back(TimeStart({"--main", path}));
    // The window's rebuild: numbering, the question list and the analysis
    // list refilled, and the list laid out and painted again.
    QElapsedTimer timer;
    timer.start();
    form.RebuildQuestionList();
    QApplication::processEvents();
    rebuild.push_back(Milliseconds(timer));
  }
  const double ratio = Median(full) / std::max(Median(bare), 0.001);
  std::printf("bare Qt Widgets window, start to first paint:   %8.1f ms\n", Median(bare));
  std::printf("quorvant with 2,000 items, start to first paint: %8.1f ms\n", Median(full));
  std::printf("ratio (target at most 2.0):                      %8.2f %s\n", ratio,
              ratio <= 2.0 ? "ok" : "SLOW");
  std::printf("RebuildQuestionList, 2,000 items:                %8.2f ms (target under 100) %s\n",
              Median(rebuild), Median(rebuild) < 100 ? "ok" : "SLOW");
  form.Document().Survey().SetModified(false);
  return 0;
}
