// TQVXImportSurvey ("Import Survey from Text File"): chooses the one style
// that every imported question takes.
#pragma once

#include <QDialog>

class QComboBox;

namespace quorvant::app {

class TQVXImportSurvey : public QDialog {
  Q_OBJECT

 public:
  explicit TQVXImportSurvey(QWidget* parent);

  // The item style of the chosen entry: 1, 2, 3 or 5.
  int Style() const;

 private:
  QComboBox* cmbStyle_ = nullptr;
};

}  // namespace quorvant::app
