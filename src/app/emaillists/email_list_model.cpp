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
  held_ = 0;
  endResetModel();
}

bool EmailListModel::RereadInPlace() {
  std::vector<uint32_t> now;
  try {
    now = list_.RowsInOrder();
  } catch (const std::exception&) {
    // Not reported here: this runs whenever the window is activated, and a
    // message box would activate it again. The grid stays as it is; the
    // next edit reports what is wrong with the file.
    return true;
  }
  std::vector<uint32_t> before = rows_, after = now;
  std::sort(before.begin(), before.end());
  std::sort(after.begin(), after.end());
  if (before != after) return false;
  if (held_ != 0) {
    // The held row keeps the place it has, wherever its key now sorts.
    const auto at = std::find(now.begin(), now.end(), held_);
    if (at != now.end()) {
      now.erase(at);
      now.insert(now.begin() + RowOf(held_), held_);
    }
  }
  std::unordered_map<uint32_t, int> row_of;
  for (size_t i = 0; i < now.size(); ++i) row_of[now[i]] = static_cast<int>(i);
  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  const QModelIndexList from = persistentIndexList();
  QModelIndexList to;
  for (const QModelIndex& index : from) {
    to.append(this->index(row_of[RecnoAt(index.row())], index.column()));
  }
  changePersistentIndexList(from, to);
  if (current_row_ >= 0 && current_row_ < rowCount()) current_row_ = row_of[RecnoAt(current_row_)];
  rows_ = std::move(now);
  cache_.clear();
  emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
  if (!rows_.empty()) {
    emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    emit headerDataChanged(Qt::Vertical, 0, rowCount() - 1);
  }
  return true;
}

int EmailListModel::RowOf(uint32_t recno) const {
  const auto it = std::find(rows_.begin(), rows_.end(), recno);
  return it == rows_.end() ? -1 : static_cast<int>(it - rows_.begin());
}

bool EmailListModel::SetCurrentRow(int row) {
  const int before = current_row_;
  current_row_ = row;
  if (before >= 0 && before < rowCount()) emit headerDataChanged(Qt::Vertical, before, before);
  if (row >= 0 && row < rowCount()) emit headerDataChanged(Qt::Vertical, row, row);
  if (held_ == 0 || (row >= 0 && row < rowCount() && RecnoAt(row) == held_)) return false;
  held_ = 0;
  return true;
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
  const auto field = static_cast<size_t>(index.column());
  bool written = false;
  try {
    // Compared with the file, not with what this grid last read: another
    // window may have changed the field since, and the value typed here
    // must then still be stored.
    list_.RecordCount();
    cache_.erase(recno);
    if (RecordAt(index.row())[field] != text) {
      list_.Write(recno, index.column(), text);
      written = true;
    }
  } catch (const std::exception& e) {
    on_error_(e.what());
    return false;
  }
  cache_.erase(recno);
  held_ = recno;
  emit dataChanged(this->index(index.row(), 0), this->index(index.row(), columnCount() - 1));
  if (written) emit Edited();
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
