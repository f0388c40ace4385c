#include "app/shell/dialog_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "core/shell/settings_keys.h"
#include "core/shell/settings_store.h"

namespace quorvant::app {

void CentreOnScreen(QWidget& window) {
  const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  QRect frame = window.frameGeometry();
  frame.moveCenter(screen->availableGeometry().center());
  window.move(frame.topLeft());
}

void RestorePlacement(QWidget& dialog, const SettingsStore& store, std::string_view section) {
  const int top = store.ReadInteger(section, "Top", settings::kNotStored);
  const int left = store.ReadInteger(section, "Left", settings::kNotStored);
  if (top == settings::kNotStored) {
    dialog.adjustSize();
    CentreOnScreen(dialog);
  } else {
    dialog.move(left, top);
  }
}

void RememberPlacement(const QWidget& dialog, SettingsStore& store, std::string_view section) {
  store.WriteInteger(section, "Top", dialog.y());
  store.WriteInteger(section, "Left", dialog.x());
}

}  // namespace quorvant::app
