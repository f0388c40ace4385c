#include "app/shell/program_start.h"

#include <QApplication>
#include <QIcon>

#include "app/shell/about_box.h"
#include "app/shell/bundled_icon.h"
#include "app/shell/main_form.h"
#include "app/shell/message_prompts.h"
#include "app/shell/window_dialogs.h"
#include "core/shell/file_association.h"

namespace quorvant::app {

int RunProgram(const QStringList& arguments, const std::function<void(QMainWindow&)>& before_show) {
  // No display name: Qt would append it to every window title the window
  // manager shows, and each window's caption is already complete.
  QApplication::setApplicationName("Quorvant");
  // The desktop entry's name, by which a desktop matches the windows to
  // their menu entry and icon.
  QGuiApplication::setDesktopFileName(kDesktopEntryId);
  QApplication::setWindowIcon(BundledIcon("quorvant"));
  // Desktops without a configured icon theme still get freedesktop icons.
  if (QIcon::themeName().isEmpty() || QIcon::themeName() == "hicolor") {
    QIcon::setThemeName("Adwaita");
  }

  auto* splash = new TQVXAbout(nullptr, true);
  splash->show();
  QApplication::processEvents();

  MessageBoxPrompts prompts;
  StandardWindowDialogs dialogs;
  TQVXMainForm window(prompts, dialogs, arguments, splash);
  prompts.SetParent(&window);
  if (before_show) before_show(window);
  window.show();
  return QApplication::exec();
}

}  // namespace quorvant::app
