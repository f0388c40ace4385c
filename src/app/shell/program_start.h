// The program's start, shared by its entry point and the start-up benchmark
// so that both measure and run the same sequence.
#pragma once

#include <QStringList>
#include <functional>

class QMainWindow;

namespace quorvant::app {

// Names the application, sets its icon and icon theme, shows the about box
// as a splash, builds the main window on `arguments` (a survey file, or none)
// and runs the event loop until the program ends. `before_show` is called
// with the finished window just before it is shown. A QApplication must
// exist.
int RunProgram(const QStringList& arguments,
               const std::function<void(QMainWindow&)>& before_show = {});

}  // namespace quorvant::app
