#include "app/analysis/results_summary.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>
#include <utility>
#include <vector>

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
  table_ = new QTableWidget(0, 4, this);
  table_->setObjectName("grdResults");
  // Two bases, each named: the records counted, and the answers the chart
  // shows (its Percent marks and legend divide by their sum).
  table_->setHorizontalHeaderLabels({"Answer", "Count", "% of respondents", "% of answers"});
  table_->verticalHeader()->hide();
  table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
  table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
  table_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
  table_->horizontalHeader()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
  table_->horizontalHeader()->setSectionResizeMode(3, QHeaderView::ResizeToContents);
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

namespace {

QString PercentText(double count, double base) {
  return QString::number(base > 0 ? 100.0 * count / base : 0, 'f', 1) + " %";
}

}  // namespace

void ResultsSummary::Show(const TQuestion& question, const TResultsList& results) {
  Clear();
  const double records = results.RecordsCounted();
  std::vector<std::pair<std::string, int>> shown;
  if (question.Style == kStyleNumeric) {
    const TNumericResults* n = results.NumericOf(question.ID);
    if (n == nullptr) return;
    for (const TCountResults& g : n->Groups) shown.emplace_back(g.Label, g.Count);
    statistics_->setText(n->Count > 0 ? "Average " + Number(n->Average) + "    Lowest " +
                                            Number(n->Lowest) + "    Highest " +
                                            Number(n->Highest) + "    Answers " + Number(n->Count)
                                      : "No valid answers");
    statistics_->show();
  } else {
    for (const TCountResults* e : results.CountsOf(question.ID)) {
      if (e->Count > 0) shown.emplace_back(e->Label, e->Count);
    }
  }
  double answers = 0;
  for (const auto& entry : shown) answers += entry.second;
  auto add = [&](const std::string& label, int count, const QString& of_answers) {
    const int row = table_->rowCount();
    table_->insertRow(row);
    table_->setItem(row, 0, Cell(QString::fromStdString(label), false));
    table_->setItem(row, 1, Cell(QString::number(count), true));
    table_->setItem(row, 2, Cell(PercentText(count, records), true));
    table_->setItem(row, 3, Cell(of_answers, true));
  };
  for (const auto& [label, count] : shown) add(label, count, PercentText(count, answers));
  // The records that gave no answer that counted: with them the counts of a
  // single answer add up to the respondents.
  if (records > 0) {
    add("No answer", static_cast<int>(records - results.AnsweredOf(question.ID)), QString());
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
