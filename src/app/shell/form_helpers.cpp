#include "app/shell/form_helpers.h"

#include <QLabel>

namespace quorvant::app {

QLabel* BuddyLabel(const QString& text, QWidget* buddy, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setBuddy(buddy);
  return label;
}

QLabel* NoteLabel(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setWordWrap(true);
  label->setForegroundRole(QPalette::PlaceholderText);
  return label;
}

}  // namespace quorvant::app
