#include "app/analysis/results_summary.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/analysis/results.h"
#include "core/survey/question.h"

namespace quorvant::app {
namespace {

QTableWidgetItem* Cell(const QString& text, bool number) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
  if (number) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return item;
}

QString Number(double value) {
  return QString::number(value, 'f', value == static_cast<long long>(value) ? 0 : 2);
}

}  // namespace

ResultsSummary::ResultsSummary(QWidget* parent) : QWidget(parent) {
  table_ = new QTableWidget(0, 3, this);
  table_->setObjectName("grdResults");
  table_->setHorizontalHeaderLabels({"Answer", "Count", "Percent"});
  table_->verticalHeader()->hide();
  table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
  table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
  table_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
  table_->horizontalHeader()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  table_->setWordWrap(false);
  table_->setTextElideMode(Qt::ElideRight);
  auto* copy = new QAction("&Copy", table_);
  copy->setShortcut(QKeySequence::Copy);
  copy->setShortcutContext(Qt::WidgetShortcut);
  connect(copy, &QAction::triggered, this, &ResultsSummary::CopySelection);
  table_->addAction(copy);
  table_->setContextMenuPolicy(Qt::ActionsContextMenu);
  statistics_ = new QLabel(this);
  statistics_->setObjectName("lblStatistics");
  statistics_->setTextFormat(Qt::PlainText);
  statistics_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(table_, 1);
  layout->addWidget(statistics_);
  Clear();
}

void ResultsSummary::Clear() {
  table_->setRowCount(0);
  statistics_->clear();
  statistics_->hide();
}

void ResultsSummary::Show(const TQuestion& question, const TResultsList& results) {
  Clear();
  const double records = results.RecordsCounted();
  auto add = [&](const std::string& label, int count) {
    const int row = table_->rowCount();
    table_->insertRow(row);
    table_->setItem(row, 0, Cell(QString::fromStdString(label), false));
    table_->setItem(row, 1, Cell(QString::number(count), true));
    const double percent = records > 0 ? 100.0 * count / records : 0;
    table_->setItem(row, 2, Cell(QString::number(percent, 'f', 1) + " %", true));
  };
  if (question.Style == kStyleNumeric) {
    if (const TNumericResults* n = results.NumericOf(question.ID)) {
      for (const TCountResults& g : n->Groups) add(g.Label, g.Count);
      statistics_->setText(n->Count > 0 ? "Average " + Number(n->Average) + "    Lowest " +
                                              Number(n->Lowest) + "    Highest " +
                                              Number(n->Highest) + "    Answers " + Number(n->Count)
                                        : "No valid answers");
      statistics_->show();
    }
  } else {
    for (const TCountResults* e : results.CountsOf(question.ID)) {
      if (e->Count > 0) add(e->Label, e->Count);
    }
  }
}

QString ResultsSummary::SelectedText() const {
  QList<QTableWidgetItem*> items = table_->selectedItems();
  QString out;
  int last_row = -1;
  std::sort(items.begin(), items.end(), [](QTableWidgetItem* a, QTableWidgetItem* b) {
    return a->row() != b->row() ? a->row() < b->row() : a->column() < b->column();
  });
  if (items.isEmpty()) {
    for (int r = 0; r < table_->rowCount(); ++r) {
      for (int c = 0; c < table_->columnCount(); ++c) items << table_->item(r, c);
    }
  }
  for (QTableWidgetItem* item : items) {
    if (last_row >= 0) out += item->row() == last_row ? "\t" : "\n";
    out += item->text();
    last_row = item->row();
  }
  return items.isEmpty() ? out : out + "\n";
}

void ResultsSummary::CopySelection() const { QApplication::clipboard()->setText(SelectedText()); }

}  // namespace quorvant::app
