// The chart's background: its colour, or the gradient drawn instead, over
// the whole area.
#include <QLinearGradient>
#include <QPainter>

#include "app/chart/chart_frame.h"

namespace quorvant::app::chart_detail {

void DrawBackground(QPainter& painter, const TChart& chart, const ChartFrame& frame) {
  const QRectF& a = frame.area;
  if (!chart.gradient_visible) {
    painter.fillRect(a, chart.color);
    return;
  }
  QPointF from = a.topLeft();
  QPointF to = a.bottomLeft();
  switch (chart.gradient_direction) {
    case GradientDirection::kTopToBottom:
      break;
    case GradientDirection::kBottomToTop:
      std::swap(from, to);
      break;
    case GradientDirection::kLeftToRight:
      to = a.topRight();
      break;
    case GradientDirection::kRightToLeft:
      from = a.topRight();
      to = a.topLeft();
      break;
  }
  QLinearGradient gradient(from, to);
  gradient.setColorAt(0, chart.gradient_start);
  gradient.setColorAt(1, chart.gradient_end);
  painter.fillRect(a, gradient);
}

}  // namespace quorvant::app::chart_detail
