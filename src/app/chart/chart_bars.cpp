// Vertical and horizontal bars, one per point in its own colour, their free
// end rounded; room for one line of marks is kept beyond the longest bar.
#include <algorithm>

#include "app/chart/chart_frame.h"

namespace quorvant::app::chart_detail {
namespace {

// A rectangle whose two corners at the bar's free end are rounded.
QPainterPath Bar(const QRectF& r, double radius, bool vertical) {
  QPainterPath path;
  radius = std::min({radius, r.width() / 2, r.height() / 2});
  if (r.width() <= 0 || r.height() <= 0) return path;
  if (radius <= 0) {
    path.addRect(r);
    return path;
  }
  // Round the whole rectangle, then square the fixed end again.
  path.addRoundedRect(r, radius, radius);
  const QRectF fixed = vertical ? QRectF(r.left(), r.bottom() - radius, r.width(), radius)
                                : QRectF(r.left(), r.top(), radius, r.height());
  QPainterPath square;
  square.addRect(fixed);
  return path.united(square).simplified();
}

double Scale(const ChartFrame& frame, double length) {
  return frame.largest > 0 ? length / frame.largest : 0;
}

}  // namespace

SeriesGeometry ShapeBars(const ChartFrame& frame, const TChart&) {
  SeriesGeometry g;
  const double line = MarkLineHeight(frame);
  const QRectF bars = frame.plot.adjusted(0, line > 0 ? line + frame.unit * 0.3 : 0, 0, 0);
  const auto& points = frame.series->Points();
  const int n = static_cast<int>(points.size());
  const double slot = bars.width() / n;
  const double width = std::min(slot * 0.72, std::max(frame.unit * 6, bars.width() / 5));
  const double scale = Scale(frame, bars.height());
  g.baseline.moveTo(bars.bottomLeft());
  g.baseline.lineTo(bars.bottomRight());
  for (int i = 0; i < n; ++i) {
    const double x = bars.left() + slot * (i + 0.5);
    const double h = DrawnValue(points[static_cast<size_t>(i)].value) * scale;
    const QRectF r(x - width / 2, bars.bottom() - h, width, h);
    PointShape p;
    p.point = i;
    p.color = PointColor(frame, i);
    p.shape = Bar(r, std::min(width * 0.12, frame.unit * 0.35), true);
    p.hit.addRect(r.adjusted(0, -1, 0, 0));
    // Wider marks are tried first; the placer keeps them off the neighbours.
    p.mark_fit = std::max(slot * 0.96, frame.unit * 2);
    p.mark_width = std::max(p.mark_fit, std::min(frame.unit * 12, frame.plot.width() / 3));
    p.marks = {
        {QPointF(x, r.top() - frame.unit * 0.25), Qt::AlignBottom | Qt::AlignHCenter},
        {QPointF(x, r.top() - frame.unit * 0.25 - line), Qt::AlignBottom | Qt::AlignHCenter}};
    g.points.push_back(p);
  }
  return g;
}

SeriesGeometry ShapeHorizontalBars(const ChartFrame& frame, const TChart& chart) {
  SeriesGeometry g;
  const double widest = WidestMark(frame, chart);
  const double room =
      widest > 0 ? std::min(widest + frame.unit * 0.4, frame.plot.width() * 0.4) : 0;
  const QRectF bars = frame.plot.adjusted(0, 0, -room, 0);
  const auto& points = frame.series->Points();
  const int n = static_cast<int>(points.size());
  const double slot = bars.height() / n;
  const double height = std::min(slot * 0.65, std::max(frame.unit * 3, bars.height() / 8));
  const double scale = Scale(frame, bars.width());
  g.baseline.moveTo(bars.topLeft());
  g.baseline.lineTo(bars.bottomLeft());
  for (int i = 0; i < n; ++i) {
    const double y = bars.top() + slot * (i + 0.5);
    const double w = DrawnValue(points[static_cast<size_t>(i)].value) * scale;
    const QRectF r(bars.left(), y - height / 2, w, height);
    PointShape p;
    p.point = i;
    p.color = PointColor(frame, i);
    p.shape = Bar(r, std::min(height * 0.12, frame.unit * 0.35), false);
    p.hit.addRect(r.adjusted(0, 0, 1, 0));
    const QPointF at(r.right() + frame.unit * 0.3, y);
    p.mark_width = frame.plot.right() - at.x();
    p.marks = {{at, Qt::AlignLeft | Qt::AlignVCenter}};
    g.points.push_back(p);
  }
  return g;
}

}  // namespace quorvant::app::chart_detail
