#include "app/chart/chart_view.h"

#include <QMouseEvent>
#include <QPainter>

namespace quorvant::app {

ChartView::ChartView(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(200, 150);
}

void ChartView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  chart_.Draw(painter, QRectF(rect()));
}

void ChartView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  if (const std::optional<QString> label = chart_.HitTest(QRectF(rect()), event->position())) {
    emit PointClicked(*label);
  }
}

}  // namespace quorvant::app
