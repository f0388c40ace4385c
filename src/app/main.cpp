// quorvant: the desktop application. Shows the about box as a splash while
// the main window starts, then runs the event loop.
#include <QApplication>

#include "app/shell/program_start.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QStringList arguments = QApplication::arguments();
  arguments.removeFirst();
  return quorvant::app::RunProgram(arguments);
}
