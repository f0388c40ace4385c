// MemoPanelGrid: the "Detail" view of verbose text answers, five panels
// stacked in one column, each a read-only memo of one record's answer with
// its own vertical scroll bar. The scroll bar beside them moves through the
// records the table shows under its view filter; records are found as it
// nears their end, so a large table opens at once.
#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <memory>

#include "core/analysis/visible_records.h"

class QPlainTextEdit;
class QScrollBar;

namespace quorvant {
class Table;
}

namespace quorvant::app {

class MemoPanelGrid : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kPanels = 5;

  explicit MemoPanelGrid(QWidget* parent = nullptr);
  ~MemoPanelGrid() override;

  // Shows field of table (nullptr: nothing) from its first visible record.
  // Call again after the view filter changed.
  void Show(Table* table, const QString& field);
  // The records found so far.
  int RecordCount() const;
  // The text shown in panel i (0 to kPanels - 1).
  QString PanelText(int i) const;

 protected:
  void wheelEvent(QWheelEvent* event) override;

 private:
  void Scrolled(int top);
  void FetchFor(int top);

  std::array<QPlainTextEdit*, kPanels> panels_{};
  QScrollBar* scroll_ = nullptr;
  Table* table_ = nullptr;
  QString field_;
  std::unique_ptr<VisibleRecords> records_;
};

}  // namespace quorvant::app
