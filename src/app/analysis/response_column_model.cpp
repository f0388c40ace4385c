#include "app/analysis/response_column_model.h"

#include "core/shell/text_helpers.h"
#include "core/tableengine/table.h"

namespace quorvant::app {
namespace {

// A screenful and some: what one fetch reads.
constexpr size_t kFetchRows = 100;

}  // namespace

void ResponseColumnModel::Show(Table* table, const QString& field) {
  beginResetModel();
  table_ = table;
  field_ = field;
  field_index_ = table != nullptr && table->IsOpen() ? table->FieldIndex(field.toStdString()) : -1;
  records_ = field_index_ >= 0 ? std::make_unique<VisibleRecords>(*table) : nullptr;
  shown_ = 0;
  failed_ = false;
  if (records_) {
    try {
      shown_ = static_cast<int>(records_->Fetch(kFetchRows));
    } catch (const std::exception&) {
      records_.reset();  // a table that cannot be read shows no rows
    }
  }
  endResetModel();
}

int ResponseColumnModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() || !records_ ? 0 : shown_;
}

int ResponseColumnModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : 1;
}

QVariant ResponseColumnModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !records_ || index.row() >= rowCount()) return {};
  try {
    table_->GoTo(records_->Found()[static_cast<size_t>(index.row())]);
    const std::string text = table_->Get(field_.toStdString());
    return QString::fromStdString(std::string(TrimBlanks(text)));
  } catch (const std::exception&) {
    return {};
  }
}

QVariant ResponseColumnModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  return orientation == Qt::Horizontal ? QVariant(field_) : QVariant(section + 1);
}

bool ResponseColumnModel::canFetchMore(const QModelIndex& parent) const {
  return !parent.isValid() && records_ && !records_->AtEnd() && !failed_;
}

void ResponseColumnModel::fetchMore(const QModelIndex& parent) {
  if (!canFetchMore(parent)) return;
  size_t added = 0;
  try {
    added = records_->Fetch(kFetchRows);
  } catch (const std::exception&) {
    failed_ = true;  // a table that cannot be read shows what it gave so far
  }
  if (added == 0) return;
  beginInsertRows({}, shown_, shown_ + static_cast<int>(added) - 1);
  shown_ += static_cast<int>(added);
  endInsertRows();
}

}  // namespace quorvant::app
