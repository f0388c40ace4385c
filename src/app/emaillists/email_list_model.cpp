#include "app/emaillists/email_list_model.h"

#include <algorithm>
#include <exception>

#include "core/emaillists/email_list_labels.h"

namespace quorvant::app {
namespace {

// Enough for several screens of rows; a list scrolled through from end to
// end does not keep every record in memory.
constexpr size_t kCacheLimit = 4096;

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

EmailListModel::EmailListModel(TEmailList& list, std::function<void(const std::string&)> on_error,
                               QObject* parent)
    : QAbstractTableModel(parent), list_(list), on_error_(std::move(on_error)) {}

void EmailListModel::Reload() {
  beginResetModel();
  cache_.clear();
  rows_.clear();
  if (list_.IsOpen()) {
    try {
      rows_ = list_.RowsInOrder();
    } catch (const std::exception& e) {
      on_error_(e.what());
    }
  }
  current_row_ = std::min(current_row_, static_cast<int>(rows_.size()) - 1);
  endResetModel();
}

int EmailListModel::RowOf(uint32_t recno) const {
  const auto it = std::find(rows_.begin(), rows_.end(), recno);
  return it == rows_.end() ? -1 : static_cast<int>(it - rows_.begin());
}

void EmailListModel::SetCurrentRow(int row) {
  const int before = current_row_;
  current_row_ = row;
  if (before >= 0 && before < rowCount()) emit headerDataChanged(Qt::Vertical, before, before);
  if (row >= 0 && row < rowCount()) emit headerDataChanged(Qt::Vertical, row, row);
}

int EmailListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int EmailListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kEmailFieldCount;
}

const EmailRecord& EmailListModel::RecordAt(int row) const {
  const uint32_t recno = rows_[static_cast<size_t>(row)];
  auto it = cache_.find(recno);
  if (it != cache_.end()) return it->second;
  if (cache_.size() >= kCacheLimit) cache_.clear();
  EmailRecord record;
  try {
    record = list_.Read(recno);
  } catch (const std::exception&) {
    // A record that cannot be read shows empty; the next write reports.
  }
  return cache_.emplace(recno, std::move(record)).first->second;
}

QVariant EmailListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
  return Q(RecordAt(index.row())[static_cast<size_t>(index.column())]);
}

bool EmailListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::EditRole) return false;
  const std::string text = value.toString().toStdString();
  const uint32_t recno = RecnoAt(index.row());
  if (RecordAt(index.row())[static_cast<size_t>(index.column())] == text) return false;
  try {
    list_.Write(recno, index.column(), text);
  } catch (const std::exception& e) {
    on_error_(e.what());
    return false;
  }
  cache_.erase(recno);
  emit dataChanged(index, index);
  // The edit may have changed the record's place in the order; the grid is
  // told once it has closed its editor.
  QMetaObject::invokeMethod(
      this,
      [this, recno] {
        // Unmoved, the grid keeps its place and any editor opened since.
        std::vector<uint32_t> now;
        try {
          now = list_.RowsInOrder();
        } catch (const std::exception& e) {
          on_error_(e.what());
          return;
        }
        if (now == rows_) return;
        Reload();
        emit RecordMoved(RowOf(recno));
      },
      Qt::QueuedConnection);
  return true;
}

Qt::ItemFlags EmailListModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags flags = QAbstractTableModel::flags(index);
  if (index.isValid() && !list_.ReadOnly()) flags |= Qt::ItemIsEditable;
  return flags;
}

QVariant EmailListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Horizontal) {
    return Q(EmailColumnTitle(section, list_.IsOpen() ? list_.SortField() : -1));
  }
  return section == current_row_ ? QStringLiteral("\u25B6") : QString();
}

}  // namespace quorvant::app
