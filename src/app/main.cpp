// quorvant: the desktop application. Shows the about box as a splash while
// the main window starts, then runs the event loop.
#include <QApplication>
#include <QIcon>

#include "app/shell/about_box.h"
#include "app/shell/main_form.h"
#include "app/shell/message_prompts.h"
#include "app/shell/window_dialogs.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Quorvant");
  QApplication::setApplicationDisplayName("Quorvant");
  QApplication::setWindowIcon(QIcon(":/icons/quorvant.svg"));
  // Desktops without a configured icon theme still get freedesktop icons.
  if (QIcon::themeName().isEmpty() || QIcon::themeName() == "hicolor") {
    QIcon::setThemeName("Adwaita");
  }

  auto* splash = new quorvant::app::TQVXAbout(nullptr, true);
  splash->show();
  QApplication::processEvents();

  quorvant::app::MessageBoxPrompts prompts;
  quorvant::app::StandardWindowDialogs dialogs;
  QStringList arguments = QApplication::arguments();
  arguments.removeFirst();
  quorvant::app::TQVXMainForm window(prompts, dialogs, arguments, splash);
  prompts.SetParent(&window);
  window.show();
  return QApplication::exec();
}
