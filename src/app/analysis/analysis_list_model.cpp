#include "app/analysis/analysis_list_model.h"

#include <QString>

namespace quorvant::app {

void AnalysisListModel::Rebuild(const QuestionListing& listing) {
  beginResetModel();
  rows_.clear();
  rows_.reserve(listing.analysis_items.size());
  for (int item : listing.analysis_items) {
    rows_.push_back({listing.lines[static_cast<size_t>(item)].line, item});
  }
  endResetModel();
}

int AnalysisListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

QVariant AnalysisListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const Row& row = rows_[static_cast<size_t>(index.row())];
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
      return QString::fromStdString(row.line);
    case Qt::UserRole:
      return row.item_index;
    default:
      return {};
  }
}

}  // namespace quorvant::app
