// Area, line and point series: the points spread evenly across the plot at
// heights for their values; area and line join them in one series colour,
// points keep a colour each.
#include <algorithm>

#include "app/chart/chart_frame.h"

namespace quorvant::app::chart_detail {

SeriesGeometry ShapeLineKinds(const ChartFrame& frame, const TChart&) {
  SeriesGeometry g;
  const bool scatter = frame.kind == SeriesKind::kPoint;
  const double dot = frame.unit * (scatter ? 0.5 : 0.34);
  const double line = MarkLineHeight(frame);
  const QRectF plot =
      frame.plot.adjusted(0, dot + (line > 0 ? line + frame.unit * 0.3 : 0), 0, -dot);
  const auto& points = frame.series->Points();
  const int n = static_cast<int>(points.size());
  const double slot = plot.width() / n;
  const double scale = frame.largest > 0 ? plot.height() / frame.largest : 0;
  g.series_color = TChart::AutomaticColor(0);
  g.baseline.moveTo(plot.left(), plot.bottom() + dot);
  g.baseline.lineTo(plot.right(), plot.bottom() + dot);

  std::vector<QPointF> at;
  for (int i = 0; i < n; ++i) {
    at.emplace_back(plot.left() + slot * (i + 0.5),
                    plot.bottom() - DrawnValue(points[static_cast<size_t>(i)].value) * scale);
  }
  if (!scatter) {
    // A single point still shows as a short level line.
    std::vector<QPointF> run = at;
    if (n == 1) run = {at[0] - QPointF(slot * 0.3, 0), at[0] + QPointF(slot * 0.3, 0)};
    g.stroke.moveTo(run.front());
    for (size_t i = 1; i < run.size(); ++i) g.stroke.lineTo(run[i]);
    if (frame.kind == SeriesKind::kArea) {
      g.fill = g.stroke;
      g.fill.lineTo(run.back().x(), plot.bottom() + dot);
      g.fill.lineTo(run.front().x(), plot.bottom() + dot);
      g.fill.closeSubpath();
    }
  }
  for (int i = 0; i < n; ++i) {
    const QPointF& c = at[static_cast<size_t>(i)];
    PointShape p;
    p.point = i;
    p.color = PointColor(frame, i);
    p.shape.addEllipse(c, dot, dot);
    const double reach = std::max(dot * 1.6, frame.unit * 0.8);
    p.hit.addEllipse(c, reach, reach);
    if (frame.kind == SeriesKind::kArea) {
      p.hit_column = QRectF(c.x() - slot / 2, c.y(), slot, plot.bottom() + dot - c.y());
    }
    // Wider marks are tried first; the placer keeps them off the neighbours.
    p.mark_fit = std::max(slot * 0.96, frame.unit * 2);
    p.mark_width = std::max(p.mark_fit, std::min(frame.unit * 12, frame.plot.width() / 3));
    const double off = dot + frame.unit * 0.2;
    // Straight above, below and beside first, then the corners, where a
    // line that rises or falls leaves room.
    p.marks = {{c - QPointF(0, off), Qt::AlignBottom | Qt::AlignHCenter},
               {c + QPointF(0, off), Qt::AlignTop | Qt::AlignHCenter},
               {c + QPointF(off, 0), Qt::AlignLeft | Qt::AlignVCenter},
               {c - QPointF(off, 0), Qt::AlignRight | Qt::AlignVCenter},
               {c + QPointF(off, -off), Qt::AlignLeft | Qt::AlignBottom},
               {c + QPointF(-off, -off), Qt::AlignRight | Qt::AlignBottom},
               {c + QPointF(off, off), Qt::AlignLeft | Qt::AlignTop},
               {c + QPointF(-off, off), Qt::AlignRight | Qt::AlignTop}};
    g.points.push_back(p);
  }
  return g;
}

}  // namespace quorvant::app::chart_detail
