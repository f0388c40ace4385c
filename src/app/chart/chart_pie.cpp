// The pie: a circle as large as the plot allows beside its marks, the first
// slice starting at twelve o'clock turned clockwise by the rotation, slices
// following clockwise. Points of 0 get no slice.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "app/chart/chart_frame.h"

namespace quorvant::app::chart_detail {

SeriesGeometry ShapePie(const ChartFrame& frame, const TChart& chart) {
  SeriesGeometry g;
  if (frame.total <= 0) return g;
  const double line = MarkLineHeight(frame);
  const double widest = std::min(WidestMark(frame, chart), frame.plot.width() * 0.26);
  const double room_x = widest > 0 ? widest + frame.unit * 1.4 : 0;
  const double room_y = line > 0 ? line + frame.unit * 0.6 : 0;
  const double radius = std::max(
      frame.unit, std::min(frame.plot.width() / 2 - room_x, frame.plot.height() / 2 - room_y));
  const QPointF centre = frame.plot.center();
  const QRectF circle(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);

  const auto& points = frame.series->Points();
  double angle = 90.0 - chart.pie_rotation;
  for (size_t i = 0; i < points.size(); ++i) {
    const double value = DrawnValue(points[i].value);
    if (value <= 0) continue;
    const double sweep = -value / frame.total * 360.0;
    PointShape p;
    p.point = static_cast<int>(i);
    p.color = PointColor(frame, p.point);
    if (sweep <= -359.999) {
      p.shape.addEllipse(circle);
    } else {
      p.shape.moveTo(centre);
      p.shape.arcTo(circle, angle, sweep);
      p.shape.closeSubpath();
    }
    const double middle = (angle + sweep / 2) * std::numbers::pi / 180.0;
    const QPointF direction(std::cos(middle), -std::sin(middle));
    p.leader = true;
    p.edge = centre + direction * radius;
    const QPointF at = centre + direction * (radius + frame.unit * 0.9);
    const bool right = direction.x() >= 0;
    const Qt::Alignment align = (right ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter;
    p.mark_width = right ? frame.plot.right() - at.x() : at.x() - frame.plot.left();
    // Crowded small slices move their marks up or down along the side.
    p.marks.push_back({at, align});
    for (int k = 1; k <= 12; ++k) {
      const double step = line * 0.55 * k;
      p.marks.push_back({at + QPointF(0, direction.y() >= 0 ? step : -step), align});
      p.marks.push_back({at + QPointF(0, direction.y() >= 0 ? -step : step), align});
    }
    g.points.push_back(p);
    angle += sweep;
  }
  return g;
}

}  // namespace quorvant::app::chart_detail
