#include "app/analysis/cross_tab_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/shell/dialog_buttons.h"
#include "app/shell/whats_this.h"
#include "core/analysis/cross_table_counting.h"
#include "core/analysis/result_counting.h"
#include "core/env/table_error.h"
#include "core/reports/analysis_report.h"
#include "core/responses/response_table.h"
#include "core/survey/question_list.h"
#include "core/survey/survey.h"
#include "core/tableengine/table.h"

namespace quorvant::app {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

QCheckBox* Switch(const char* name, const char* text, QWidget* parent) {
  auto* box = new QCheckBox(text, parent);
  box->setObjectName(name);
  return box;
}

}  // namespace

TQVXCrossTab::TQVXCrossTab(TSurvey& survey, TResponseTable& table, QWidget* parent)
    : QDialog(parent), survey_(survey), table_(table) {
  setObjectName("TQVXCrossTab");
  setWindowTitle("Cross Tabulation");
  cmbRows_ = new QComboBox(this);
  cmbRows_->setObjectName("cmbCrossRows");
  cmbColumns_ = new QComboBox(this);
  cmbColumns_->setObjectName("cmbCrossColumns");
  for (QComboBox* list : {cmbRows_, cmbColumns_}) {
    list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    list->setMinimumContentsLength(24);
  }
  auto* rows_label = new QLabel("&Rows:", this);
  rows_label->setBuddy(cmbRows_);
  auto* columns_label = new QLabel("&Columns:", this);
  columns_label->setBuddy(cmbColumns_);
  chkRowPercent_ = Switch("chkRowPercent", "Ro&w percentages", this);
  chkColumnPercent_ = Switch("chkColumnPercent", "Colu&mn percentages", this);
  chkTotalPercent_ = Switch("chkTotalPercent", "&Total percentages", this);

  grdCrossTable_ = new QTableWidget(this);
  grdCrossTable_->setObjectName("grdCrossTable");
  grdCrossTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grdCrossTable_->horizontalHeader()->hide();
  grdCrossTable_->verticalHeader()->hide();
  grdCrossTable_->setWordWrap(false);
  grdCrossTable_->verticalHeader()->setDefaultSectionSize(grdCrossTable_->fontMetrics().height() +
                                                          6);
  lblCrossNotes_ = new QLabel(this);
  lblCrossNotes_->setObjectName("lblCrossNotes");
  lblCrossNotes_->setTextFormat(Qt::PlainText);
  lblCrossNotes_->setWordWrap(true);
  lblCrossNotes_->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* copy = buttons->addButton("Cop&y", QDialogButtonBox::ActionRole);
  copy->setObjectName("btnCopyCrossTable");
  copy->setAutoDefault(false);
  QPushButton* close = buttons->addButton(QDialogButtonBox::Close);
  close->setObjectName("btnClose");
  close->setAutoDefault(false);
  AddHelpButton(*buttons, "cross-tabulation")->setAutoDefault(false);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(copy, &QPushButton::clicked, this, &TQVXCrossTab::CopyToClipboard);

  auto* choose = new QGridLayout;
  choose->addWidget(rows_label, 0, 0);
  choose->addWidget(cmbRows_, 0, 1);
  choose->addWidget(columns_label, 1, 0);
  choose->addWidget(cmbColumns_, 1, 1);
  choose->setColumnStretch(1, 1);
  auto* switches = new QHBoxLayout;
  switches->addWidget(chkRowPercent_);
  switches->addWidget(chkColumnPercent_);
  switches->addWidget(chkTotalPercent_);
  switches->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(choose);
  layout->addLayout(switches);
  layout->addWidget(grdCrossTable_, 1);
  layout->addWidget(lblCrossNotes_);
  layout->addWidget(buttons);
  resize(640, 480);

  for (QComboBox* list : {cmbRows_, cmbColumns_}) {
    connect(list, &QComboBox::currentIndexChanged, this, &TQVXCrossTab::Count);
  }
  for (QCheckBox* box : {chkRowPercent_, chkColumnPercent_, chkTotalPercent_}) {
    connect(box, &QCheckBox::toggled, this, &TQVXCrossTab::ShowTable);
  }
  FillLists();
  Count();
  InstallWhatsThis(this);
}

CrossPercents TQVXCrossTab::Percents() const {
  return {chkRowPercent_->isChecked(), chkColumnPercent_->isChecked(),
          chkTotalPercent_->isChecked()};
}

void TQVXCrossTab::FillLists() {
  const QuestionListing listing = RebuildQuestionList(survey_);
  for (QComboBox* list : {cmbRows_, cmbColumns_}) {
    const QSignalBlocker quiet(list);
    const QVariant chosen = list->currentData();
    list->clear();
    for (const QuestionListLine& line : listing.lines) {
      const TQuestion& q = survey_.Item(line.item_index);
      if (q.Style == kStyleNumeric || IsChoiceStyle(q.Style)) list->addItem(Q(line.line), q.ID);
    }
    const int row = list->findData(chosen);
    list->setCurrentIndex(row >= 0 ? row : -1);
  }
  // A first look shows something: the first two questions, once.
  if (cmbRows_->currentIndex() < 0 && cmbColumns_->currentIndex() < 0 && cmbRows_->count() > 1) {
    const QSignalBlocker quiet_rows(cmbRows_), quiet_columns(cmbColumns_);
    cmbRows_->setCurrentIndex(0);
    cmbColumns_->setCurrentIndex(1);
  }
}

std::string TQVXCrossTab::CountKey() const {
  std::string key = std::to_string(cmbRows_->currentData().toInt()) + "/" +
                    std::to_string(cmbColumns_->currentData().toInt()) + "/" +
                    CountedFilterExpression(survey_) + "/" +
                    std::to_string(survey_.Results().RecordsCounted());
  if (table_.IsOpen()) key += "/" + std::to_string(table_.table().RecCount());
  for (const TQuestion& q : survey_.Items()) {
    key += "/" + std::to_string(q.ID) + ":" + std::to_string(q.Style) + ":" + q.Options + ":" +
           std::to_string(q.MinValue) + ":" + std::to_string(q.MaxValue) + ":" +
           std::to_string(q.StepValue) + ":" + (q.IncludeOther ? "o" : "");
  }
  return key;
}

void TQVXCrossTab::Refresh() {
  FillLists();
  if (CountKey() != counted_key_) Count();
}

void TQVXCrossTab::Count() {
  counted_key_ = CountKey();
  shown_.reset();
  test_ = {};
  if (cmbRows_->currentIndex() >= 0 && cmbColumns_->currentIndex() >= 0) {
    try {
      shown_ = ComputeCrossTable(survey_, table_, cmbRows_->currentData().toInt(),
                                 cmbColumns_->currentData().toInt());
      test_ = TestIndependence(*shown_);
    } catch (const ECrossTableError& e) {
      test_.reason = e.what();
    } catch (const ETableError& e) {
      test_.reason = e.what();
    }
  }
  ShowTable();
}

void TQVXCrossTab::ShowTable() {
  grdCrossTable_->clear();
  if (!shown_) {
    grdCrossTable_->setRowCount(0);
    grdCrossTable_->setColumnCount(0);
    lblCrossNotes_->setText(test_.reason.empty()
                                ? QString("Choose a question for the rows and one for the columns.")
                                : Q(test_.reason));
    return;
  }
  const CrossGrid grid = LayOutCrossTable(*shown_, Percents());
  grdCrossTable_->clearSpans();
  grdCrossTable_->setRowCount(static_cast<int>(grid.cells.size()));
  grdCrossTable_->setColumnCount(static_cast<int>(grid.cells.front().size()));
  QFont bold = grdCrossTable_->font();
  bold.setBold(true);
  const int lines = static_cast<int>(grid.cells.size()) - 1;
  const int per_row = grid.label_columns == 1 ? 1 : lines / static_cast<int>(shown_->Rows() + 1);
  for (size_t i = 0; i < grid.cells.size(); ++i) {
    for (size_t k = 0; k < grid.cells[i].size(); ++k) {
      auto* item = new QTableWidgetItem(Q(grid.cells[i][k]));
      // Row labels and the head line in bold; the names of the measures plain.
      const bool label = static_cast<int>(k) < grid.label_columns;
      if (i == 0 || k == 0) item->setFont(bold);
      item->setTextAlignment(label ? Qt::AlignLeft | Qt::AlignVCenter
                                   : Qt::AlignRight | Qt::AlignVCenter);
      grdCrossTable_->setItem(static_cast<int>(i), static_cast<int>(k), item);
    }
    // A row's label stands once beside all its lines.
    if (grid.starts_row[i] && per_row > 1)
      grdCrossTable_->setSpan(static_cast<int>(i), 0, per_row, 1);
  }
  grdCrossTable_->resizeColumnsToContents();
  // Spanned cells do not widen their column; the row labels must show whole.
  const QFontMetrics metrics(bold);
  int label_width = 0;
  for (const std::vector<std::string>& line : grid.cells) {
    label_width = std::max(label_width, metrics.horizontalAdvance(Q(line.front())));
  }
  grdCrossTable_->setColumnWidth(0, std::max(grdCrossTable_->columnWidth(0), label_width + 12));
  QString notes = Q(ActiveFilterLine(survey_));
  for (const std::string& note : CrossTableNotes(*shown_, test_)) {
    notes += (notes.isEmpty() ? "" : "\n") + Q(note);
  }
  lblCrossNotes_->setText(notes);
}

std::string TQVXCrossTab::ShownText() const {
  return shown_ ? CrossTableText(*shown_, test_, Percents(), ActiveFilterLine(survey_))
                : std::string();
}

std::string TQVXCrossTab::ShownHtml() const {
  return shown_ ? CrossTableHtml(*shown_, test_, Percents(), ActiveFilterLine(survey_))
                : std::string();
}

void TQVXCrossTab::CopyToClipboard() {
  if (!shown_) return;
  auto* data = new QMimeData;
  data->setText(Q(ShownText()));
  data->setHtml(Q(ShownHtml()));
  QApplication::clipboard()->setMimeData(data);
}

}  // namespace quorvant::app
