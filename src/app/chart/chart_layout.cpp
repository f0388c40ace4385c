// The frame of a chart: its text sizes, the title at the top left, the
// legend (chart_legend.cpp) and what is left for the series.
#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>

#include "app/chart/chart_frame.h"
#include "app/chart/chart_text.h"

namespace quorvant::app::chart_detail {
namespace {

QFont ChartFont(double pixel_size) {
  QFont font;
  font.setFamilies(
      {QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(std::max(1, static_cast<int>(pixel_size + 0.5)));
  // Unhinted outlines keep their proportions at every scale, so the layout
  // measured here matches what a printer or an SVG file draws.
  font.setHintingPreference(QFont::PreferNoHinting);
  return font;
}

}  // namespace

ChartFrame LayOutChart(const TChart& chart, const QSizeF& size) {
  ChartFrame frame;
  frame.area = QRectF(QPointF(0, 0), size);
  // Text grows with the chart, but never below what reads on a small one.
  frame.unit = std::max(10.5, std::min(size.width() / 60.0, size.height() / 40.0));
  frame.margin = frame.unit;
  frame.title_font = ChartFont(frame.unit * 1.05);
  frame.text_font = ChartFont(frame.unit * 0.92);
  frame.surface = SurfaceColor(chart);
  frame.ink = InkColor(frame.surface);

  const double m = frame.margin;
  QRectF content = frame.area.adjusted(m, m, -m, -m);
  if (!chart.title.isEmpty()) {
    const QFontMetricsF metrics(frame.title_font);
    frame.title_lines = WrapTitle(chart.title, metrics, content.width());
    double widest = 0;
    for (const QString& line : frame.title_lines) {
      widest = std::max(widest, metrics.horizontalAdvance(line));
    }
    frame.title_rect = QRectF(content.left(), content.top(), widest,
                              metrics.lineSpacing() * frame.title_lines.size());
    content.setTop(frame.title_rect.bottom() + m);
  }

  if (const std::optional<SeriesKind> kind = chart.VisibleKind()) {
    const ChartSeries& series = chart.Series(*kind);
    if (!series.Points().empty()) {
      frame.series = &series;
      frame.kind = *kind;
      for (const ChartPoint& p : series.Points()) {
        const double value = DrawnValue(p.value);
        frame.total += value;
        frame.largest = std::max(frame.largest, value);
      }
    }
  }
  frame.plot = content;
  if (frame.series != nullptr) LayOutLegend(frame, chart);
  return frame;
}

void DrawTitle(QPainter& painter, const ChartFrame& frame) {
  if (frame.title_lines.isEmpty()) return;
  painter.setFont(frame.title_font);
  painter.setPen(frame.ink.lightness() > 128 ? frame.ink : QColor(Qt::black));
  const QFontMetricsF metrics(frame.title_font);
  double y = frame.title_rect.top() + metrics.ascent();
  for (const QString& line : frame.title_lines) {
    painter.drawText(QPointF(frame.title_rect.left(), y), line);
    y += metrics.lineSpacing();
  }
}

}  // namespace quorvant::app::chart_detail
