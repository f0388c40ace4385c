// The remembered position of a dialog: "Top" and "Left" in the dialog's own
// section of the settings store, -200 meaning never stored.
#pragma once

#include <string_view>

class QWidget;

namespace quorvant {
class SettingsStore;
}

namespace quorvant::app {

// Places the dialog where it was last closed, or centres it on the screen.
void RestorePlacement(QWidget& dialog, const SettingsStore& store, std::string_view section);
// Stores the dialog's current position.
void RememberPlacement(const QWidget& dialog, SettingsStore& store, std::string_view section);
// Centres a window on the screen it is on.
void CentreOnScreen(QWidget& window);

}  // namespace quorvant::app
