// TQVXWarning: the warning the person may switch off ("Warning", a question
// picture, the message, "&Yes", "&No", "Cancel" and "&Don't show this warning
// again").
#pragma once

#include <QDialog>

#include "core/shell/prompts.h"

class QCheckBox;

namespace quorvant::app {

class TQVXWarning : public QDialog {
  Q_OBJECT

 public:
  TQVXWarning(const QString& text, QWidget* parent);

  // Shows the dialog modally and returns the answer; closing the window
  // counts as Cancel.
  SuppressibleReply Ask();

 private:
  void Answer(WarningAnswer answer);

  QCheckBox* cbDontShow_ = nullptr;
  WarningAnswer answer_ = WarningAnswer::kCancel;
};

}  // namespace quorvant::app
