// ResponseColumnModel: one field of the response table as a one-column,
// read-only table model over the records the table shows under its view
// filter. Rows are found as the view scrolls to them (canFetchMore and
// fetchMore), so a table of a million records opens as fast as a small one.
#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <memory>

#include "core/analysis/visible_records.h"

namespace quorvant {
class Table;
}

namespace quorvant::app {

class ResponseColumnModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit ResponseColumnModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

  // Shows field of table (nullptr or an empty field: no rows) from its
  // first visible record. Call again after the view filter changed.
  void Show(Table* table, const QString& field);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  bool canFetchMore(const QModelIndex& parent) const override;
  void fetchMore(const QModelIndex& parent) override;

 private:
  Table* table_ = nullptr;
  QString field_;
  std::unique_ptr<VisibleRecords> records_;
  int field_index_ = -1;
  int shown_ = 0;        // rows the view has been told of
  bool failed_ = false;  // a fetch could not read the table
};

}  // namespace quorvant::app
