// Which point a click at a position finds: the shapes, topmost first, then
// the marks and the legend entries, all laid out as Draw() lays them out on
// screen.
#include "app/chart/chart.h"
#include "app/chart/chart_frame.h"

namespace quorvant::app {

using namespace chart_detail;

std::optional<QString> TChart::HitTest(const QRectF& target, const QPointF& pos) const {
  if (target.width() <= 0 || target.height() <= 0) return std::nullopt;
  const ChartFrame frame = LayOutChart(*this, target.size());
  if (frame.series == nullptr) return std::nullopt;
  const QPointF at = pos - target.topLeft();
  const auto label = [&](int point) {
    return frame.series->Points()[static_cast<size_t>(point)].label;
  };

  const SeriesGeometry geometry = ShapeSeries(frame, *this);
  for (auto p = geometry.points.rbegin(); p != geometry.points.rend(); ++p) {
    if ((p->hit.isEmpty() ? p->shape : p->hit).contains(at) || p->hit_column.contains(at)) {
      return label(p->point);
    }
  }
  for (const PlacedMark& m : PlaceMarks(frame, *this, geometry)) {
    if (m.rect.contains(at)) return label(m.point);
  }
  for (const LegendEntry& e : frame.legend.entries) {
    if (QRectF(e.swatch.left(), e.text.top(), e.text.right() - e.swatch.left(), e.text.height())
            .contains(at)) {
      return label(e.point);
    }
  }
  return std::nullopt;
}

}  // namespace quorvant::app
