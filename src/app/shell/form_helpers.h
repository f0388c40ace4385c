// Small builders shared by the dialogs that lay out their forms in code.
#pragma once

#include <QString>

class QLabel;
class QWidget;

namespace quorvant::app {

// Gives a new control its documented object name and returns it.
template <typename T>
T* Named(const char* name, T* widget) {
  widget->setObjectName(name);
  return widget;
}

// A caption whose mnemonic moves the focus to `buddy`.
QLabel* BuddyLabel(const QString& text, QWidget* buddy, QWidget* parent);

// A wrapped explanation or example, in the quieter placeholder colour.
QLabel* NoteLabel(const QString& text, QWidget* parent);

}  // namespace quorvant::app
