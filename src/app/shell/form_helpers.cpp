#include "app/shell/form_helpers.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>
#include <QVBoxLayout>

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

QStackedWidget* SwitchedPages(const char* name, QComboBox* chooser, QWidget* parent) {
  auto* stack = Named(name, new QStackedWidget(parent));
  QObject::connect(chooser, &QComboBox::currentIndexChanged, stack,
                   &QStackedWidget::setCurrentIndex);
  return stack;
}

QWidget* FieldPage(QStackedWidget* stack, const char* name, const QString& caption,
                   const char* field_name, QLineEdit*& field, const QStringList& notes) {
  auto* page = Named(name, new QWidget(stack));
  field = Named(field_name, new QLineEdit(page));
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(BuddyLabel(caption, field, page));
  layout->addWidget(field);
  for (const QString& note : notes) layout->addWidget(NoteLabel(note, page));
  layout->addStretch();
  stack->addWidget(page);
  return page;
}

}  // namespace quorvant::app
