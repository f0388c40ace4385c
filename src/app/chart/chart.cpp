#include "app/chart/chart.h"

#include <QPainter>

#include "app/chart/chart_frame.h"

namespace quorvant::app {

using namespace chart_detail;

void ChartSeries::Add(double value, const QString& label, const QColor& color) {
  points_.push_back(ChartPoint{value, label, color});
}

TChart::TChart() { series_[0].visible = true; }

void TChart::ShowOnly(SeriesKind kind) {
  for (size_t k = 0; k < series_.size(); ++k) series_[k].visible = k == static_cast<size_t>(kind);
}

std::optional<SeriesKind> TChart::VisibleKind() const {
  for (size_t k = 0; k < series_.size(); ++k) {
    if (series_[k].visible) return static_cast<SeriesKind>(k);
  }
  return std::nullopt;
}

void TChart::Draw(QPainter& painter, const QRectF& target, bool for_print) const {
  if (target.width() <= 0 || target.height() <= 0) return;
  // On paper the chart is laid out on a larger area and shrunk onto the
  // target, so that its text comes out as small as a printed page expects.
  const double factor = for_print ? 1.25 : 1.0;
  const ChartFrame frame = LayOutChart(*this, target.size() * factor);

  painter.save();
  painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                         QPainter::SmoothPixmapTransform);
  painter.translate(target.topLeft());
  painter.scale(1.0 / factor, 1.0 / factor);
  painter.setClipRect(frame.area, Qt::IntersectClip);
  DrawBackground(painter, *this, frame);
  DrawTitle(painter, frame);
  if (frame.series != nullptr) {
    const SeriesGeometry geometry = ShapeSeries(frame, *this);
    DrawSeries(painter, *this, frame, geometry);
    DrawMarks(painter, frame, PlaceMarks(frame, *this, geometry));
    DrawLegend(painter, frame);
  }
  painter.restore();
}

}  // namespace quorvant::app
