// TQVXRangeSelect ("Select Range"): the whole report or the chosen
// question's page alone.
#pragma once

#include <QDialog>

class QRadioButton;

namespace quorvant::app {

class TQVXRangeSelect : public QDialog {
  Q_OBJECT

 public:
  explicit TQVXRangeSelect(QWidget* parent);

  bool SelectedOnly() const;

 private:
  QRadioButton* rbSelected_ = nullptr;
  QRadioButton* rbAll_ = nullptr;
};

}  // namespace quorvant::app
