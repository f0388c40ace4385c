// The analysis page's "Results for Question:" list: the list line of every
// question of the survey (headers are left out), each with its item index as
// its user data. A model of its own, refilled in one reset: filling the drop-
// down list entry by entry cost more than all the rest of a rebuild.
#pragma once

#include <QAbstractListModel>
#include <string>
#include <vector>

#include "core/survey/question_list.h"

namespace quorvant::app {

class AnalysisListModel : public QAbstractListModel {
  Q_OBJECT

 public:
  explicit AnalysisListModel(QObject* parent) : QAbstractListModel(parent) {}

  // Refills the list with the questions of `listing`.
  void Rebuild(const QuestionListing& listing);

  int rowCount(const QModelIndex& parent = {}) const override;
  // The list line as display text; the item index as Qt::UserRole.
  QVariant data(const QModelIndex& index, int role) const override;

 private:
  struct Row {
    std::string line;
    int item_index = 0;
  };
  std::vector<Row> rows_;
};

}  // namespace quorvant::app
