#include "app/survey/question_list_view.h"

#include <QApplication>
#include <QPainter>
#include <algorithm>

#include "app/shell/bundled_icon.h"
#include "core/survey/survey.h"

namespace quorvant::app {

const QuestionListing& QuestionListModel::Rebuild(TSurvey& survey) {
  Show(RebuildQuestionList(survey), survey);
  return listing_;
}

void QuestionListModel::ShowWithoutNumbers(const TSurvey& survey) {
  Show(ListWithoutNumbers(survey), survey);
}

void QuestionListModel::Show(QuestionListing listing, const TSurvey& survey) {
  beginResetModel();
  listing_ = std::move(listing);
  styles_.clear();
  styles_.reserve(listing_.lines.size());
  for (const QuestionListLine& line : listing_.lines) {
    styles_.push_back(survey.Item(line.item_index).Style);
  }
  endResetModel();
}

void QuestionListModel::Clear() {
  beginResetModel();
  listing_ = {};
  styles_.clear();
  endResetModel();
}

int QuestionListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(listing_.lines.size());
}

QVariant QuestionListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const QuestionListLine& line = listing_.lines[static_cast<size_t>(index.row())];
  switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
      return QString::fromStdString(line.line);
    case kDetailRole:
      return QString::fromStdString(line.detail);
    case kStyleRole:
      return styles_[static_cast<size_t>(index.row())];
    case kInGroupRole:
      return line.in_skip_group;
    case kHeaderRole:
      return line.is_header;
    default:
      return {};
  }
}

QuestionListDelegate::QuestionListDelegate(QObject* parent) : QStyledItemDelegate(parent) {
  const char* names[] = {"single", "multiple", "scale", "text", "pulldown", "numeric"};
  for (int i = 0; i < 6; ++i) {
    style_images_[i] = BundledIcon(QString("style-") + names[i]);
  }
}

QFont QuestionListDelegate::LineFont(const QFont& list_font) {
  QFont font = list_font;
  font.setBold(true);
  if (font.pointSizeF() > 0) font.setPointSizeF(font.pointSizeF() + 2);
  return font;
}

const QuestionListDelegate::RowHeights& QuestionListDelegate::HeightsFor(const QFont& font) const {
  if (heights_.question == 0 || !(heights_.font == font)) {
    const int line = QFontMetrics(LineFont(font)).height();
    heights_ = {font, line + 8, std::max(kImageSize, line + QFontMetrics(font).height()) + 4};
  }
  return heights_;
}

QSize QuestionListDelegate::sizeHint(const QStyleOptionViewItem& option,
                                     const QModelIndex& index) const {
  const RowHeights& h = HeightsFor(option.font);
  const bool header = index.data(QuestionListModel::kHeaderRole).toBool();
  return {kMinimumWidth, header ? h.header : h.question};
}

void QuestionListDelegate::PaintHeader(QPainter* painter, const QStyleOptionViewItem& option,
                                       const QModelIndex& index) const {
  const bool selected = option.state & QStyle::State_Selected;
  if (!selected) painter->fillRect(option.rect, option.palette.color(QPalette::Dark));
  painter->setPen(option.palette.color(QPalette::HighlightedText));
  painter->setFont(LineFont(option.font));
  const QRect text_rect = option.rect.adjusted(6, 4, -4, 0);
  const QString text = painter->fontMetrics().elidedText(index.data().toString().simplified(),
                                                         Qt::ElideRight, text_rect.width());
  painter->drawText(text_rect, Qt::AlignLeft | Qt::AlignTop, text);
}

void QuestionListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
  QStyleOptionViewItem opt = option;
  initStyleOption(&opt, index);
  const QWidget* widget = option.widget;
  QStyle* style = widget ? widget->style() : QApplication::style();
  painter->save();
  opt.text.clear();
  style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, painter, widget);
  if (index.data(QuestionListModel::kHeaderRole).toBool()) {
    PaintHeader(painter, option, index);
    painter->restore();
    return;
  }
  const bool selected = option.state & QStyle::State_Selected;
  const int indent = index.data(QuestionListModel::kInGroupRole).toBool() ? kGroupIndent : 0;
  const int style_index = index.data(QuestionListModel::kStyleRole).toInt() - 1;
  const QRect image(option.rect.left() + 4 + indent, option.rect.top() + 2, kImageSize, kImageSize);
  if (style_index >= 0 && style_index < 6) style_images_[style_index].paint(painter, image);

  const int text_left = image.right() + 8;
  const int width = option.rect.right() - text_left - 4;
  painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
  const QFont line_font = LineFont(option.font);
  painter->setFont(line_font);
  const QFontMetrics line_metrics(line_font);
  const int line_top = option.rect.top() + 1;
  painter->drawText(
      QRect(text_left, line_top, width, line_metrics.height()), Qt::AlignLeft | Qt::AlignVCenter,
      line_metrics.elidedText(index.data().toString().simplified(), Qt::ElideRight, width));
  painter->setFont(option.font);
  const QFontMetrics detail_metrics(option.font);
  const int detail_top = option.rect.bottom() - detail_metrics.height() - 1;
  painter->drawText(QRect(text_left, detail_top, width, detail_metrics.height()),
                    Qt::AlignLeft | Qt::AlignVCenter,
                    detail_metrics.elidedText(index.data(QuestionListModel::kDetailRole).toString(),
                                              Qt::ElideRight, width));
  painter->restore();
}

}  // namespace quorvant::app
