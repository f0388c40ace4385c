// The owner-drawn question list of the main window: the model that holds
// the numbered lines of the survey's items and the delegate that draws each
// question with its style image, bold list line and detail line, members of
// skip groups indented, and headers as a band of their own.
#pragma once

#include <QAbstractListModel>
#include <QIcon>
#include <QStyledItemDelegate>

#include "core/survey/question_list.h"

namespace quorvant {
class TSurvey;
}

namespace quorvant::app {

class QuestionListModel : public QAbstractListModel {
  Q_OBJECT

 public:
  enum Role { kDetailRole = Qt::UserRole + 1, kStyleRole, kInGroupRole, kHeaderRole };

  explicit QuestionListModel(QObject* parent) : QAbstractListModel(parent) {}

  // Renumbers the survey's items (RebuildQuestionList) and refills the list
  // in one reset; returns the listing for the analysis list.
  const QuestionListing& Rebuild(TSurvey& survey);
  // Refills the list with a question library's items: texts alone, no
  // numbers, indentation or skip marks. The survey is not changed.
  void ShowWithoutNumbers(const TSurvey& survey);
  // Empties the list.
  void Clear();

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;

 private:
  void Show(QuestionListing listing, const TSurvey& survey);

  QuestionListing listing_;
  std::vector<int> styles_;
};

class QuestionListDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  static constexpr int kImageSize = 32;
  static constexpr int kGroupIndent = 30;
  static constexpr int kMinimumWidth = 120;  // lines widen to the list's width

  explicit QuestionListDelegate(QObject* parent);

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 private:
  static QFont LineFont(const QFont& list_font);
  // Row heights of headers and questions for the list's font, measured once
  // per font: the list asks for every row's size whenever it is refilled.
  struct RowHeights {
    QFont font;  // compared whole: cheap when it is the same shared font
    int header = 0;
    int question = 0;
  };
  const RowHeights& HeightsFor(const QFont& font) const;
  void PaintHeader(QPainter* painter, const QStyleOptionViewItem& option,
                   const QModelIndex& index) const;

  QIcon style_images_[6];
  mutable RowHeights heights_;
};

}  // namespace quorvant::app
