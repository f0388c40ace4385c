// TQVXLibName: asks for the name of something new. "New Library" with
// "Please enter a &name for the new library:" for a question library; the
// template manager reuses it as "New Template".
#pragma once

#include <QDialog>

class QLineEdit;

namespace quorvant::app {

class TQVXLibName : public QDialog {
  Q_OBJECT

 public:
  TQVXLibName(const QString& caption, const QString& prompt, QWidget* parent);

  QString Name() const;

 private:
  QLineEdit* eName_ = nullptr;
};

}  // namespace quorvant::app
