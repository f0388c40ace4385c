// The layout of one drawing of a TChart, shared by drawing and hit testing
// so that a click finds exactly what was drawn. Everything is in the logical
// coordinates of the chart's area (origin at its top left); Draw() maps that
// area onto the target rectangle.
#pragma once

#include <QFont>
#include <QPainterPath>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <cmath>
#include <vector>

#include "app/chart/chart.h"

namespace quorvant::app::chart_detail {

// One line of the legend: a swatch and a text of up to two parts, the
// number (value or percent, drawn right aligned in its own column) and the
// label, in the order of the legend's style.
struct LegendEntry {
  int point = 0;
  QRectF swatch;
  QRectF text;  // the label and the number together
  QString label;
  QString number;
  bool number_first = false;
  QColor color;
};

struct LegendLayout {
  QRectF rect;  // empty when there is no legend
  double number_width = 0;
  double row_height = 0;
  std::vector<LegendEntry> entries;
  QString more;  // "+ 3 more" when not every point fits
  QRectF more_rect;
};

struct ChartFrame {
  QRectF area;       // the whole logical area
  double unit = 12;  // the base text size in logical pixels
  double margin = 12;
  QFont title_font;
  QFont text_font;  // legend and marks
  QStringList title_lines;
  QRectF title_rect;
  LegendLayout legend;
  QRectF plot;  // where the series is drawn (marks included)
  // The visible series, or null when none is visible or it has no points.
  const ChartSeries* series = nullptr;
  SeriesKind kind = SeriesKind::kBar;
  double total = 0;  // the sum of the visible series' values
  double largest = 0;
  QColor surface;  // the background's colour, or its middle colour
  QColor ink;      // text that reads on that surface
};

// Where a mark may go, tried in order: the text's rectangle is placed so
// that its point of `align` lies at `at`.
struct MarkCandidate {
  QPointF at;
  Qt::Alignment align;
};

// One point as drawn: its shape (filled with its colour), the region a
// click finds it in, and where its mark may go.
struct PointShape {
  int point = 0;
  QPainterPath shape;
  QPainterPath hit;
  QRectF hit_column;  // where else a click finds it (under an area's point)
  QColor color;
  std::vector<MarkCandidate> marks;
  double mark_width = 0;  // the widest a mark may be
  double mark_fit = 0;    // a width that fits between the neighbours
  bool leader = false;    // join the mark to `edge` with a line
  QPointF edge;
};

struct SeriesGeometry {
  QPainterPath fill;      // the area series' surface
  QPainterPath stroke;    // the line through the points of line and area
  QPainterPath baseline;  // the line the values rise from
  QColor series_color;
  std::vector<PointShape> points;  // drawn in this order
};

struct PlacedMark {
  int point = 0;
  QRectF rect;
  QString text;
  bool leader = false;
  QPointF edge;
};

// The size a value is drawn at: negative and non-finite values as 0.
inline double DrawnValue(double value) { return std::isfinite(value) && value > 0 ? value : 0; }

// Fonts, title, legend and plot rectangle for a logical area of this size.
ChartFrame LayOutChart(const TChart& chart, const QSizeF& size);
void LayOutLegend(ChartFrame& frame, const TChart& chart);

// The shapes of the visible series inside frame.plot.
SeriesGeometry ShapeSeries(const ChartFrame& frame, const TChart& chart);
SeriesGeometry ShapeBars(const ChartFrame& frame, const TChart& chart);
SeriesGeometry ShapeHorizontalBars(const ChartFrame& frame, const TChart& chart);
SeriesGeometry ShapePie(const ChartFrame& frame, const TChart& chart);
SeriesGeometry ShapeLineKinds(const ChartFrame& frame, const TChart& chart);

// Marks that overlap neither each other nor the title and legend; those
// that do not fit even shortened are left out.
std::vector<PlacedMark> PlaceMarks(const ChartFrame& frame, const TChart& chart,
                                   const SeriesGeometry& geometry);

// The colour of a point as the visible series draws it.
QColor PointColor(const ChartFrame& frame, int point);
// Room the marks need around the series: the height of one mark line and
// the widest mark (both 0 when marks are hidden).
double MarkLineHeight(const ChartFrame& frame);
double WidestMark(const ChartFrame& frame, const TChart& chart);

// What the background looks like on average, and a text colour that
// reads on it.
QColor SurfaceColor(const TChart& chart);
QColor InkColor(const QColor& surface);

void DrawBackground(QPainter& painter, const TChart& chart, const ChartFrame& frame);
void DrawTitle(QPainter& painter, const ChartFrame& frame);
void DrawSeries(QPainter& painter, const TChart& chart, const ChartFrame& frame,
                const SeriesGeometry& geometry);
void DrawMarks(QPainter& painter, const ChartFrame& frame, const std::vector<PlacedMark>& marks);
void DrawLegend(QPainter& painter, const ChartFrame& frame);

}  // namespace quorvant::app::chart_detail
