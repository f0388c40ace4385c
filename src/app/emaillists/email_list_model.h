// EmailListModel: the grid's view of an open e-mail list, one row per record
// of the active order. Rows are read from the file when the grid asks for
// them and kept in a small cache; an edit is stored and committed as soon as
// the grid posts it.
//
// An edited row is held in its place while the cursor stays on it, even when
// its new key sorts elsewhere, so that the field typed next goes to the same
// row; it moves to its place in the order once the cursor leaves it. Moves
// are layout changes: open editors, the current cell and the selection stay
// with their records.
//
// The vertical header is the row indicator: it marks the current record.
//
// Ownership: borrows the list, which must outlive the model. Failures of
// the file (a write refused, a damaged record) are passed to `on_error`,
// and the edit is dropped.
#pragma once

#include <QAbstractTableModel>
#include <cstdint>
#include <functional>
#include <unordered_map>
#include <vector>

#include "core/emaillists/email_list.h"

namespace quorvant::app {

class EmailListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  EmailListModel(TEmailList& list, std::function<void(const std::string&)> on_error,
                 QObject* parent = nullptr);

  // Reads the order again (after opening, sorting, importing, deleting),
  // resetting the grid; a held row takes its place.
  void Reload();
  // Reads the records and their order again (another window or program may
  // have changed the file) in place: values and order are refreshed, the
  // held row stays where it is. False, changing nothing, when records were
  // added or removed; the caller then reloads. A file that cannot be read
  // leaves the grid as it is, unreported (the next edit reports).
  bool RereadInPlace();
  // The row of a record, -1 when it is not shown.
  int RowOf(uint32_t recno) const;
  uint32_t RecnoAt(int row) const { return rows_.at(static_cast<size_t>(row)); }
  // Moves the row indicator. True when the cursor left the held row, which
  // should now go to its place (RereadInPlace, or Reload).
  bool SetCurrentRow(int row);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 signals:
  // A posted edit changed the file.
  void Edited();

 private:
  const EmailRecord& RecordAt(int row) const;

  TEmailList& list_;
  std::function<void(const std::string&)> on_error_;
  std::vector<uint32_t> rows_;
  mutable std::unordered_map<uint32_t, EmailRecord> cache_;  // by record number
  int current_row_ = -1;
  uint32_t held_ = 0;  // the record held in its row, 0 for none
};

}  // namespace quorvant::app
