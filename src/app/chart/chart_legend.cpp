// The legend: one entry per point of the visible series (those with 0
// included), at the right of a wide chart and under a tall one, in as many
// columns as fit; what does not fit is counted in a last "+ N more" line.
#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "app/chart/chart_frame.h"
#include "app/chart/chart_text.h"

namespace quorvant::app::chart_detail {
namespace {

struct Grid {
  int columns = 1;
  int rows = 1;
  int shown = 0;
  double column_width = 0;
};

// Entries are laid out column by column at the right, row by row below.
Grid RightGrid(int n, double entry_width, double min_width, double max_width, double height,
               double row_height, double gap) {
  Grid grid;
  const int rows_fit = std::max(1, static_cast<int>(height / row_height));
  grid.columns = (n + rows_fit - 1) / rows_fit;
  auto width_of = [&](int columns) { return (max_width - (columns - 1) * gap) / columns; };
  while (grid.columns > 1 && width_of(grid.columns) < min_width) --grid.columns;
  grid.column_width = std::min(entry_width, width_of(grid.columns));
  grid.shown = std::min(n, grid.columns * rows_fit);
  if (grid.shown < n) grid.shown = std::max(1, grid.shown - 1);  // room for "+ N more"
  grid.rows = (grid.shown + grid.columns - 1) / grid.columns;
  return grid;
}

Grid BottomGrid(int n, double entry_width, double width, double max_height, double row_height,
                double gap) {
  Grid grid;
  grid.column_width = std::min(entry_width, width);
  grid.columns = std::max(1, static_cast<int>((width + gap) / (grid.column_width + gap)));
  grid.columns = std::min(grid.columns, n);
  const int rows_fit = std::max(1, static_cast<int>(max_height / row_height));
  grid.shown = std::min(n, grid.columns * rows_fit);
  if (grid.shown < n) grid.shown = std::max(1, grid.shown - 1);
  grid.rows = (grid.shown + grid.columns - 1) / grid.columns;
  return grid;
}

}  // namespace

void LayOutLegend(ChartFrame& frame, const TChart& chart) {
  if (!chart.legend_visible) return;
  LegendLayout& legend = frame.legend;
  const QFontMetricsF metrics(frame.text_font);
  const std::vector<ChartPoint>& points = frame.series->Points();
  const int n = static_cast<int>(points.size());
  const double swatch = std::round(metrics.height() * 0.72);
  const double gap = frame.unit * 0.5;
  legend.row_height = metrics.height() * 1.45;

  double widest_label = 0;
  for (const ChartPoint& p : points) {
    legend.number_width =
        std::max(legend.number_width,
                 metrics.horizontalAdvance(LegendNumber(chart.legend_style, p.value, frame.total)));
    widest_label = std::max(widest_label, metrics.horizontalAdvance(p.label));
  }
  const double number_room = legend.number_width > 0 ? legend.number_width + gap : 0;
  const double lead = swatch + gap;
  const double entry_width = lead + number_room + widest_label + 1;
  const double min_width = lead + number_room + metrics.averageCharWidth() * 9;

  const QRectF content = frame.plot;
  const bool at_right = content.width() >= content.height() * 1.15;
  const double column_gap = gap * 2.5;
  const Grid grid = at_right ? RightGrid(n, entry_width, min_width, content.width() * 0.36,
                                         content.height(), legend.row_height, column_gap)
                             : BottomGrid(n, entry_width, content.width(), content.height() * 0.3,
                                          legend.row_height, column_gap);
  const bool more = grid.shown < n;
  const double width = grid.columns * grid.column_width + (grid.columns - 1) * column_gap;
  const double height = (grid.rows + (more ? 1 : 0)) * legend.row_height;
  if (at_right) {
    legend.rect = QRectF(content.right() - width, content.center().y() - height / 2, width, height);
    frame.plot.setRight(legend.rect.left() - frame.margin * 1.5);
  } else {
    legend.rect =
        QRectF(content.center().x() - width / 2, content.bottom() - height, width, height);
    frame.plot.setBottom(legend.rect.top() - frame.margin);
  }

  for (int i = 0; i < grid.shown; ++i) {
    const int column = at_right ? i / grid.rows : i % grid.columns;
    const int row = at_right ? i % grid.rows : i / grid.columns;
    const double x = legend.rect.left() + column * (grid.column_width + column_gap);
    const double y = legend.rect.top() + row * legend.row_height;
    const ChartPoint& p = points[static_cast<size_t>(i)];
    LegendEntry entry;
    entry.point = i;
    entry.color = PointColor(frame, i);
    entry.swatch = QRectF(x, y + (legend.row_height - swatch) / 2, swatch, swatch);
    entry.text = QRectF(x + lead, y, grid.column_width - lead, legend.row_height);
    entry.number = LegendNumber(chart.legend_style, p.value, frame.total);
    entry.number_first = LegendNumberFirst(chart.legend_style);
    entry.label = Shorten(p.label, metrics, entry.text.width() - number_room);
    legend.entries.push_back(entry);
  }
  if (more) {
    legend.more = QStringLiteral("+ %1 more").arg(n - grid.shown);
    legend.more_rect = QRectF(legend.rect.left(), legend.rect.bottom() - legend.row_height,
                              legend.rect.width(), legend.row_height);
  }
}

void DrawLegend(QPainter& painter, const ChartFrame& frame) {
  const LegendLayout& legend = frame.legend;
  if (legend.entries.empty()) return;
  painter.setFont(frame.text_font);
  const double gap = frame.unit * 0.5;
  for (const LegendEntry& e : legend.entries) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(e.color);
    painter.drawRoundedRect(e.swatch, e.swatch.width() * 0.22, e.swatch.width() * 0.22);
    painter.setPen(frame.ink);
    QRectF label = e.text;
    if (!e.number.isEmpty()) {
      QRectF number = e.text;
      if (e.number_first) {
        number.setWidth(legend.number_width);
        label.setLeft(number.right() + gap);
      } else {
        number.setLeft(number.right() - legend.number_width);
        label.setRight(number.left() - gap);
      }
      painter.drawText(number, Qt::AlignRight | Qt::AlignVCenter, e.number);
    }
    painter.drawText(label, Qt::AlignLeft | Qt::AlignVCenter, e.label);
  }
  if (!legend.more.isEmpty()) {
    QColor faded = frame.ink;
    faded.setAlphaF(0.7);
    painter.setPen(faded);
    painter.drawText(legend.more_rect, Qt::AlignLeft | Qt::AlignVCenter, legend.more);
  }
}

}  // namespace quorvant::app::chart_detail
