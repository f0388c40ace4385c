// quorvant: the desktop application. Shows the about box as a splash while
// the main window starts, then runs the event loop.
#include <QApplication>
#include <cstdio>
#include <cstring>

#include "app/shell/program_start.h"
#include "core/shell/system_helpers.h"

int main(int argc, char* argv[]) {
  // Answered before the toolkit starts, so that they work without a display.
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("quorvant %s\n", quorvant::FileVersionText().c_str());
    return 0;
  }
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::printf(
        "Usage: quorvant [SURVEY.qvx]\n"
        "Compose, publish and analyse web surveys; opens the survey file when one is given.\n"
        "\n"
        "  --version  the version\n"
        "  --help     this text\n");
    return 0;
  }
  QApplication app(argc, argv);
  QStringList arguments = QApplication::arguments();
  arguments.removeFirst();
  return quorvant::app::RunProgram(arguments);
}
