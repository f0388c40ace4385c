// Small builders shared by the dialogs that lay out their forms in code.
#pragma once

#include <QString>
#include <QStringList>

class QComboBox;
class QLabel;
class QLineEdit;
class QStackedWidget;
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

// A stack of pages of which `chooser`'s current entry shows the one with
// the same index.
QStackedWidget* SwitchedPages(const char* name, QComboBox* chooser, QWidget* parent);

// A page of `stack` holding one captioned entry field (named field_name)
// with notes under it. `field` receives the new field.
QWidget* FieldPage(QStackedWidget* stack, const char* name, const QString& caption,
                   const char* field_name, QLineEdit*& field, const QStringList& notes);

}  // namespace quorvant::app
