#include "app/analysis/filter_builder.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QUrl>
#include <QVBoxLayout>

#include "app/shell/app_paths.h"
#include "app/shell/dialog_buttons.h"
#include "app/shell/dialog_placement.h"
#include "app/shell/whats_this.h"
#include "core/survey/survey.h"

namespace quorvant::app {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

QLabel* BuddyLabel(const char* text, QWidget* buddy, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setBuddy(buddy);
  return label;
}

}  // namespace

TQVXFilterBuilder::TQVXFilterBuilder(const TSurvey& survey,
                                     const std::vector<QuestionLine>& questions,
                                     const TFilterList& filter, QWidget* parent)
    : QDialog(parent), survey_(survey), questions_(questions) {
  setObjectName("TQVXFilterBuilder");
  setWindowTitle("Filter Builder");
  filter_.Assign(filter);

  lbCurrentFilter_ = new QListWidget(this);
  lbCurrentFilter_->setObjectName("lbCurrentFilter");
  // Conditions are sentences with whole question texts: wrap them.
  lbCurrentFilter_->setWordWrap(true);
  lbCurrentFilter_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  cmbQuestion_ = new QComboBox(this);
  cmbQuestion_->setObjectName("cmbQuestion");
  cmbQuestion_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  cmbQuestion_->setMinimumContentsLength(40);
  for (const QuestionLine& q : questions_) cmbQuestion_->addItem(q.line, q.item_index);
  btnRemove_ = new QPushButton("&Remove", this);
  btnRemove_->setObjectName("btnRemove");
  btnClearAll_ = new QPushButton("&Clear All", this);
  btnClearAll_->setObjectName("btnClearAll");

  nbFilterType_ = new QStackedWidget(this);
  nbFilterType_->setObjectName("nbFilterType");
  nbFilterType_->addWidget(tsSelectList_ = BuildSelectListPage());
  nbFilterType_->addWidget(tsText_ = BuildTextPage());
  nbFilterType_->addWidget(tsNumeric_ = BuildNumericPage());

  btnAddToFilter_ = new QPushButton("&Add to Filter", this);
  btnAddToFilter_->setObjectName("btnAddToFilter");
  QDialogButtonBox* buttons = MakeOkCancelButtons(*this, "OK");
  auto* help = buttons->addButton("&Help", QDialogButtonBox::HelpRole);
  help->setObjectName("btnHelp");
  connect(help, &QPushButton::clicked, this,
          [] { QDesktopServices::openUrl(QUrl::fromLocalFile(HelpPagePath("filter-builder"))); });

  connect(cmbQuestion_, &QComboBox::currentIndexChanged, this, &TQVXFilterBuilder::QuestionChosen);
  connect(btnAddToFilter_, &QPushButton::clicked, this, &TQVXFilterBuilder::AddToFilter);
  connect(btnRemove_, &QPushButton::clicked, this, &TQVXFilterBuilder::Remove);
  connect(btnClearAll_, &QPushButton::clicked, this, &TQVXFilterBuilder::ClearAll);
  connect(lbCurrentFilter_, &QListWidget::currentRowChanged, this,
          &TQVXFilterBuilder::UpdateButtons);

  auto* top = new QGridLayout;
  top->addWidget(BuddyLabel("Current &Filter:", lbCurrentFilter_, this), 0, 0, 1, 2);
  top->addWidget(lbCurrentFilter_, 1, 0, 3, 1);
  top->addWidget(btnRemove_, 1, 1);
  top->addWidget(btnClearAll_, 2, 1);
  top->setRowStretch(3, 1);
  auto* question_row = new QHBoxLayout;
  question_row->addWidget(BuddyLabel("&In question:", cmbQuestion_, this));
  question_row->addWidget(cmbQuestion_, 1);
  auto* add_row = new QHBoxLayout;
  add_row->addStretch(1);
  add_row->addWidget(btnAddToFilter_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top, 1);
  layout->addLayout(question_row);
  layout->addWidget(nbFilterType_, 1);
  layout->addLayout(add_row);
  layout->addWidget(buttons);

  RefillCurrentFilter();
  setFixedSize(520, 440);
  CentreOnScreen(*this);
  InstallWhatsThis(this);
}

QWidget* TQVXFilterBuilder::BuildSelectListPage() {
  auto* page = new QWidget(this);
  page->setObjectName("tsSelectList");
  rbSelected_ = new QRadioButton("&selected...", page);
  rbSelected_->setObjectName("rbSelected");
  rbSelected_->setChecked(true);
  rbNotSelected_ = new QRadioButton("&did not select...", page);
  rbNotSelected_->setObjectName("rbNotSelected");
  lbOptions_ = new QListWidget(page);
  lbOptions_->setObjectName("lbOptions");
  connect(lbOptions_, &QListWidget::currentRowChanged, this, &TQVXFilterBuilder::UpdateButtons);
  connect(lbOptions_, &QListWidget::itemDoubleClicked, this, &TQVXFilterBuilder::AddToFilter);

  auto* choice = new QVBoxLayout;
  choice->addWidget(BuddyLabel("the r&espondent...", rbSelected_, page));
  choice->addWidget(rbSelected_);
  choice->addWidget(rbNotSelected_);
  choice->addStretch(1);
  auto* layout = new QHBoxLayout(page);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addLayout(choice);
  layout->addWidget(lbOptions_, 1);
  return page;
}

QWidget* TQVXFilterBuilder::BuildTextPage() {
  auto* page = new QWidget(this);
  page->setObjectName("tsText");
  auto* note =
      new QLabel("Note: Text based responses are not available for filtering at this time.", page);
  note->setObjectName("lblTextNote");
  note->setWordWrap(true);
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(note);
  layout->addStretch(1);
  return page;
}

QWidget* TQVXFilterBuilder::BuildNumericPage() {
  auto* page = new QWidget(this);
  page->setObjectName("tsNumeric");
  cmbOperator_ = new QComboBox(page);
  cmbOperator_->setObjectName("cmbOperator");
  cmbOperator_->addItems({"is greater than", "is less than", "is equal to"});
  cmbOperator_->setCurrentIndex(-1);
  eValue_ = new QLineEdit(page);
  eValue_->setObjectName("eValue");
  // Why "&Add to Filter" stays disabled for the value typed.
  lblValueProblem_ = new QLabel(page);
  lblValueProblem_->setObjectName("lblValueProblem");
  lblValueProblem_->setWordWrap(true);
  lblValueProblem_->setTextFormat(Qt::PlainText);
  connect(cmbOperator_, &QComboBox::currentIndexChanged, this, &TQVXFilterBuilder::UpdateButtons);
  connect(eValue_, &QLineEdit::textChanged, this, &TQVXFilterBuilder::UpdateButtons);

  auto* layout = new QGridLayout(page);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(BuddyLabel("the r&espondent entered an answer that", cmbOperator_, page), 0, 0,
                    1, 2);
  layout->addWidget(cmbOperator_, 1, 0, 1, 2);
  layout->addWidget(BuddyLabel("the &value:", eValue_, page), 2, 0);
  layout->addWidget(eValue_, 2, 1);
  layout->addWidget(lblValueProblem_, 3, 1);
  layout->setColumnStretch(1, 1);
  layout->setRowStretch(4, 1);
  return page;
}

void TQVXFilterBuilder::showEvent(QShowEvent* event) {
  if (cmbQuestion_->count() > 0 && cmbQuestion_->currentIndex() != 0) {
    cmbQuestion_->setCurrentIndex(0);
  } else {
    QuestionChosen();
  }
  QDialog::showEvent(event);
}

const TQuestion* TQVXFilterBuilder::ChosenQuestion() const {
  const int row = cmbQuestion_->currentIndex();
  if (row < 0) return nullptr;
  const int item = cmbQuestion_->itemData(row).toInt();
  if (item < 0 || item >= survey_.ItemCount()) return nullptr;
  return &survey_.Item(item);
}

void TQVXFilterBuilder::QuestionChosen() {
  const TQuestion* q = ChosenQuestion();
  if (q != nullptr && q->Style == kStyleText) {
    nbFilterType_->setCurrentWidget(tsText_);
  } else if (q != nullptr && q->Style == kStyleNumeric) {
    nbFilterType_->setCurrentWidget(tsNumeric_);
  } else {
    nbFilterType_->setCurrentWidget(tsSelectList_);
    lbOptions_->clear();
    if (q != nullptr) {
      for (const std::string& line : q->OptionLines()) lbOptions_->addItem(Q(line));
    }
  }
  UpdateButtons();
}

void TQVXFilterBuilder::AddToFilter() {
  const TQuestion* q = ChosenQuestion();
  if (q == nullptr || !btnAddToFilter_->isEnabled()) return;
  if (nbFilterType_->currentWidget() == tsNumeric_) {
    filter_.AddNumericCondition(*q, cmbOperator_->currentIndex(), eValue_->text().toStdString());
  } else {
    filter_.AddChoiceCondition(*q, rbSelected_->isChecked(), lbOptions_->currentRow());
  }
  eValue_->clear();
  lbOptions_->setCurrentRow(-1);
  RefillCurrentFilter();
}

void TQVXFilterBuilder::Remove() {
  filter_.Delete(lbCurrentFilter_->currentRow());
  RefillCurrentFilter();
}

void TQVXFilterBuilder::ClearAll() {
  filter_.Clear();
  RefillCurrentFilter();
}

void TQVXFilterBuilder::RefillCurrentFilter() {
  lbCurrentFilter_->clear();
  for (const std::string& d : filter_.Descriptions()) lbCurrentFilter_->addItem(Q(d));
  UpdateButtons();
}

void TQVXFilterBuilder::UpdateButtons() {
  const std::string value = eValue_->text().toStdString();
  bool add = false;
  if (nbFilterType_->currentWidget() == tsSelectList_) {
    add = lbOptions_->currentRow() >= 0 && ChosenQuestion() != nullptr;
  } else if (nbFilterType_->currentWidget() == tsNumeric_) {
    // Only a number may reach the filter's expression.
    add = cmbOperator_->currentIndex() >= 0 && IsFilterNumber(value);
  }
  lblValueProblem_->setText(Q(FilterNumberProblem(value)));
  btnAddToFilter_->setEnabled(add);
  const int lines = lbCurrentFilter_->count();
  btnRemove_->setEnabled(lines > 0 && lbCurrentFilter_->currentRow() >= 0);
  btnClearAll_->setEnabled(lines > 0);
}

}  // namespace quorvant::app
