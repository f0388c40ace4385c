// TQVXFilterBuilder ("Filter Builder"): edits a copy of the analysis filter.
// The author picks a question, then an option line to select or not select
// (choice questions) or an operator and a value (Numeric questions); Text
// questions take no conditions. The copy reaches the survey only when the
// caller takes Filter() after OK.
#pragma once

#include <QDialog>
#include <QString>
#include <vector>

#include "core/analysis/filter_list.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QStackedWidget;

namespace quorvant {
class TSurvey;
}

namespace quorvant::app {

class TQVXFilterBuilder : public QDialog {
  Q_OBJECT

 public:
  // One line of the analysis page's question list and the item it stands for.
  struct QuestionLine {
    QString line;
    int item_index = 0;
  };

  TQVXFilterBuilder(const TSurvey& survey, const std::vector<QuestionLine>& questions,
                    const TFilterList& filter, QWidget* parent);

  const TFilterList& Filter() const { return filter_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QWidget* BuildSelectListPage();
  QWidget* BuildTextPage();
  QWidget* BuildNumericPage();
  const TQuestion* ChosenQuestion() const;
  void QuestionChosen();
  void AddToFilter();
  void Remove();
  void ClearAll();
  void RefillCurrentFilter();
  void UpdateButtons();

  const TSurvey& survey_;
  std::vector<QuestionLine> questions_;
  TFilterList filter_;

  QListWidget* lbCurrentFilter_ = nullptr;
  QComboBox* cmbQuestion_ = nullptr;
  QPushButton* btnRemove_ = nullptr;
  QPushButton* btnClearAll_ = nullptr;
  QStackedWidget* nbFilterType_ = nullptr;
  QWidget* tsSelectList_ = nullptr;
  QWidget* tsText_ = nullptr;
  QWidget* tsNumeric_ = nullptr;
  QRadioButton* rbSelected_ = nullptr;
  QRadioButton* rbNotSelected_ = nullptr;
  QListWidget* lbOptions_ = nullptr;
  QComboBox* cmbOperator_ = nullptr;
  QLineEdit* eValue_ = nullptr;
  QLabel* lblValueProblem_ = nullptr;
  QPushButton* btnAddToFilter_ = nullptr;
};

}  // namespace quorvant::app
