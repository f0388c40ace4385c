#include "app/analysis/memo_panel_grid.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "core/tableengine/table.h"

namespace quorvant::app {

MemoPanelGrid::MemoPanelGrid(QWidget* parent) : QWidget(parent) {
  auto* column = new QVBoxLayout;
  column->setSpacing(4);
  for (int i = 0; i < kPanels; ++i) {
    auto* panel = new QPlainTextEdit(this);
    panel->setObjectName("memAnswer");
    panel->setReadOnly(true);
    panel->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    panel->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    panel->setMinimumHeight(24);
    panels_[static_cast<size_t>(i)] = panel;
    column->addWidget(panel, 1);
  }
  scroll_ = new QScrollBar(Qt::Vertical, this);
  scroll_->setObjectName("sbRecords");
  scroll_->setPageStep(kPanels);
  connect(scroll_, &QScrollBar::valueChanged, this, &MemoPanelGrid::Scrolled);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addLayout(column, 1);
  layout->addWidget(scroll_);
  Show(nullptr, {});
}

MemoPanelGrid::~MemoPanelGrid() = default;

void MemoPanelGrid::Show(Table* table, const QString& field) {
  table_ = table;
  field_ = field;
  const bool readable =
      table != nullptr && table->IsOpen() && table->FieldIndex(field.toStdString()) >= 0;
  records_ = readable ? std::make_unique<VisibleRecords>(*table) : nullptr;
  scroll_->blockSignals(true);
  scroll_->setValue(0);
  scroll_->blockSignals(false);
  FetchFor(0);
  Scrolled(0);
}

int MemoPanelGrid::RecordCount() const {
  return records_ ? static_cast<int>(records_->Found().size()) : 0;
}

QString MemoPanelGrid::PanelText(int i) const {
  return panels_[static_cast<size_t>(i)]->toPlainText();
}

// Finds records until the panels from top on, and a page beyond, have one.
void MemoPanelGrid::FetchFor(int top) {
  if (records_) {
    try {
      while (!records_->AtEnd() && RecordCount() < top + 2 * kPanels) records_->Fetch(50);
    } catch (const std::exception&) {
      // What was found stays shown; a damaged table gives no more.
    }
  }
  scroll_->setRange(0, std::max(0, RecordCount() - kPanels));
}

void MemoPanelGrid::Scrolled(int top) {
  FetchFor(top);
  for (int i = 0; i < kPanels; ++i) {
    QPlainTextEdit* panel = panels_[static_cast<size_t>(i)];
    const int row = top + i;
    QString text;
    if (records_ && row < RecordCount()) {
      try {
        table_->GoTo(records_->Found()[static_cast<size_t>(row)]);
        text = QString::fromStdString(table_->Get(field_.toStdString()));
      } catch (const std::exception&) {
        text.clear();
      }
    }
    // Answers keep their line breaks, whichever kind they were typed with.
    text.replace("\r\n", "\n");
    panel->setPlainText(text);
    panel->setEnabled(records_ && row < RecordCount());
  }
}

void MemoPanelGrid::wheelEvent(QWheelEvent* event) {
  const int steps = event->angleDelta().y() / 120;
  scroll_->setValue(scroll_->value() - steps);
  event->accept();
}

}  // namespace quorvant::app
