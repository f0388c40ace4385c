// Drawing the visible series from its shapes: the surface and line of the
// line kinds, then every point in its colour, outlined in the background's
// colour so that neighbours stay apart, then the base line.
#include <QPainter>

#include "app/chart/chart_frame.h"

namespace quorvant::app::chart_detail {

SeriesGeometry ShapeSeries(const ChartFrame& frame, const TChart& chart) {
  switch (frame.kind) {
    case SeriesKind::kBar:
      return ShapeBars(frame, chart);
    case SeriesKind::kPie:
      return ShapePie(frame, chart);
    case SeriesKind::kHorizontalBar:
      return ShapeHorizontalBars(frame, chart);
    case SeriesKind::kArea:
    case SeriesKind::kLine:
    case SeriesKind::kPoint:
      return ShapeLineKinds(frame, chart);
  }
  return SeriesGeometry();
}

void DrawSeries(QPainter& painter, const TChart& chart, const ChartFrame& frame,
                const SeriesGeometry& geometry) {
  if (chart.back_color.alpha() > 0 && (chart.gradient_visible || chart.back_color != chart.color)) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(chart.back_color);
    const double r = frame.unit * 0.4;
    painter.drawRoundedRect(frame.plot.adjusted(-r, -r, r, r), r, r);
  }
  if (!geometry.fill.isEmpty()) {
    QColor surface = geometry.series_color;
    surface.setAlphaF(0.28);
    painter.setPen(Qt::NoPen);
    painter.setBrush(surface);
    painter.drawPath(geometry.fill);
  }
  if (!geometry.stroke.isEmpty()) {
    painter.setPen(
        QPen(geometry.series_color, frame.unit * 0.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(geometry.stroke);
  }
  QColor outline = frame.surface;
  outline.setAlpha(255);
  painter.setPen(QPen(outline, frame.unit * 0.12, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  for (const PointShape& p : geometry.points) {
    painter.setBrush(p.color);
    painter.drawPath(p.shape);
  }
  // Over the points' outlines, so that it runs unbroken.
  if (!geometry.baseline.isEmpty()) {
    QColor rule = frame.ink;
    rule.setAlphaF(0.35);
    painter.setPen(QPen(rule, frame.unit * 0.08, Qt::SolidLine, Qt::FlatCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(geometry.baseline);
  }
}

}  // namespace quorvant::app::chart_detail
