// The marks: a short text at each point, placed at the first of its
// candidate places that stays inside the chart and clear of the title, the
// legend, the points and the marks already placed. The largest points are
// placed first; a mark that fits nowhere is shortened, and left out when
// even that fails.
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPathStroker>
#include <algorithm>
#include <numeric>

#include "app/chart/chart_frame.h"
#include "app/chart/chart_text.h"

namespace quorvant::app::chart_detail {
namespace {

double Padding(const ChartFrame& frame) { return frame.unit * 0.2; }

QRectF RectAt(const MarkCandidate& c, double width, double height) {
  double x = c.at.x() - width / 2;
  if (c.align & Qt::AlignLeft) x = c.at.x();
  if (c.align & Qt::AlignRight) x = c.at.x() - width;
  double y = c.at.y() - height / 2;
  if (c.align & Qt::AlignTop) y = c.at.y();
  if (c.align & Qt::AlignBottom) y = c.at.y() - height;
  return QRectF(x, y, width, height);
}

class Placer {
 public:
  Placer(const ChartFrame& frame, const SeriesGeometry& geometry)
      : bounds_(frame.area.adjusted(frame.margin / 2, frame.margin / 2, -frame.margin / 2,
                                    -frame.margin / 2)) {
    if (!frame.title_rect.isEmpty()) taken_.push_back(frame.title_rect);
    if (!frame.legend.rect.isEmpty()) taken_.push_back(frame.legend.rect);
    for (const PointShape& p : geometry.points) shapes_.push_back(p.shape);
    // Text across the line through the points is hard to read.
    if (!geometry.stroke.isEmpty()) {
      QPainterPathStroker stroker;
      stroker.setWidth(frame.unit * 0.4);
      shapes_.push_back(stroker.createStroke(geometry.stroke));
    }
  }

  bool Free(const QRectF& r) const {
    if (!bounds_.contains(r)) return false;
    for (const QRectF& t : taken_) {
      if (t.intersects(r)) return false;
    }
    for (const QPainterPath& s : shapes_) {
      if (s.intersects(r)) return false;
    }
    return true;
  }
  void Take(const QRectF& r) { taken_.push_back(r); }

 private:
  QRectF bounds_;
  std::vector<QRectF> taken_;
  std::vector<QPainterPath> shapes_;
};

}  // namespace

double MarkLineHeight(const ChartFrame& frame) {
  if (frame.series == nullptr || !frame.series->marks_visible) return 0;
  return QFontMetricsF(frame.text_font).height() + Padding(frame);
}

double WidestMark(const ChartFrame& frame, const TChart& chart) {
  if (frame.series == nullptr || !frame.series->marks_visible) return 0;
  const QFontMetricsF metrics(frame.text_font);
  double widest = 0;
  for (const ChartPoint& p : frame.series->Points()) {
    const QString text = MarkText(frame.series->marks_style, chart.legend_style, p, frame.total);
    widest = std::max(widest, metrics.horizontalAdvance(text) + 2 * Padding(frame));
  }
  return widest;
}

std::vector<PlacedMark> PlaceMarks(const ChartFrame& frame, const TChart& chart,
                                   const SeriesGeometry& geometry) {
  std::vector<PlacedMark> placed;
  if (frame.series == nullptr || !frame.series->marks_visible) return placed;
  const QFontMetricsF metrics(frame.text_font);
  const double pad = Padding(frame);
  const double height = MarkLineHeight(frame);
  const auto& points = frame.series->Points();

  std::vector<size_t> order(geometry.points.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    return points[static_cast<size_t>(geometry.points[a].point)].value >
           points[static_cast<size_t>(geometry.points[b].point)].value;
  });

  Placer placer(frame, geometry);
  for (size_t index : order) {
    const PointShape& shape = geometry.points[index];
    const ChartPoint& point = points[static_cast<size_t>(shape.point)];
    const QString full =
        MarkText(frame.series->marks_style, chart.legend_style, point, frame.total);
    if (full.isEmpty()) continue;
    const QString brief =
        ShortMarkText(frame.series->marks_style, chart.legend_style, point, frame.total);
    const double room = std::min(shape.mark_width - 2 * pad, metrics.horizontalAdvance(full));
    const double fit = shape.mark_fit > 0 ? shape.mark_fit - 2 * pad : room;
    // The whole text, then the number alone, nearer the point; numbers are
    // never cut, labels are shortened with an ellipsis.
    const bool label_only = brief == point.label;
    const struct {
      const QString& text;
      double limit;
      bool may_shorten;
    } tries[] = {{full, room, label_only}, {brief, room, label_only}, {brief, fit, label_only}};
    for (const auto& t : tries) {
      if (!t.may_shorten && metrics.horizontalAdvance(t.text) > t.limit + 0.5) continue;
      const QString text = Shorten(t.text, metrics, t.limit);
      if (text.isEmpty()) continue;
      const double width = metrics.horizontalAdvance(text) + 2 * pad;
      const auto found = std::find_if(
          shape.marks.begin(), shape.marks.end(),
          [&](const MarkCandidate& c) { return placer.Free(RectAt(c, width, height)); });
      if (found == shape.marks.end()) continue;
      const QRectF rect = RectAt(*found, width, height);
      placer.Take(rect);
      placed.push_back({shape.point, rect, text, shape.leader, shape.edge});
      break;
    }
  }
  return placed;
}

void DrawMarks(QPainter& painter, const ChartFrame& frame, const std::vector<PlacedMark>& marks) {
  painter.setFont(frame.text_font);
  QColor leader = frame.ink;
  leader.setAlphaF(0.45);
  for (const PlacedMark& m : marks) {
    if (m.leader) {
      const bool right = m.rect.center().x() >= m.edge.x();
      const QPointF end(right ? m.rect.left() : m.rect.right(), m.rect.center().y());
      painter.setPen(QPen(leader, frame.unit * 0.07));
      painter.drawLine(m.edge, end);
    }
    painter.setPen(frame.ink);
    painter.drawText(m.rect, Qt::AlignCenter, m.text);
  }
}

}  // namespace quorvant::app::chart_detail
