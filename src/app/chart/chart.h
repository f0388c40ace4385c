// TChart: the chart engine's model and drawing. One chart holds six series,
// one per kind (bar, pie, area, horizontal bar, line, point); each series is
// shown or hidden, cleared, filled with points (value, label, automatic or
// given colour) and copied from another. Around them: a title (left
// aligned, lines broken at CR LF), a legend with five text styles, series
// marks with eight styles, the pie's rotation, and the background (chart
// colour, back colour, an optional gradient in four directions).
//
// There are no axes, no zoom and no panning. The chart is drawn onto any
// paint device at any size (a widget, QPrinter, QImage, QSvgGenerator) by
// Draw(); HitTest() tells which point lies under a position of the same
// layout, for the click that reports a point's label.
//
// Thread-safety: none; a chart belongs to the window or tool that drew it.
#pragma once

#include <QColor>
#include <QRectF>
#include <QString>
#include <array>
#include <optional>
#include <vector>

class QPainter;
class QPointF;

namespace quorvant::app {

// The series kinds in the order of a question's ChartType.
enum class SeriesKind : int {
  kBar = 0,
  kPie = 1,
  kArea = 2,
  kHorizontalBar = 3,
  kLine = 4,
  kPoint = 5,
};
inline constexpr int kSeriesKinds = 6;

// The legend's text styles, in the order of a question's LegendStyle.
enum class LegendTextStyle : int {
  kPlain = 0,         // the label
  kLeftValue = 1,     // value, then label
  kRightValue = 2,    // label, then value
  kLeftPercent = 3,   // percent, then label
  kRightPercent = 4,  // label, then percent
};

// The marks styles, in the order of a question's MarksStyle.
enum class MarksStyle : int {
  kValue = 0,
  kPercent = 1,
  kLabel = 2,
  kLabelPercent = 3,
  kLabelValue = 4,
  kLegend = 5,        // the text the legend shows for the point
  kPercentTotal = 6,  // percent, then "of" the total
  kLabelPercentTotal = 7,
};

// The gradient directions, in the order of the settings' GradientDirection.
enum class GradientDirection : int {
  kTopToBottom = 0,
  kBottomToTop = 1,
  kLeftToRight = 2,
  kRightToLeft = 3,
};

struct ChartPoint {
  double value = 0;
  QString label;
  QColor color;  // invalid: the automatic colour of its position
};

class ChartSeries {
 public:
  void Clear() { points_.clear(); }
  // Adds a point; an invalid colour means the automatic one.
  void Add(double value, const QString& label, const QColor& color = QColor());
  // Takes the other series' points (not its kind, visibility or marks).
  void CopyFrom(const ChartSeries& other) { points_ = other.points_; }
  const std::vector<ChartPoint>& Points() const { return points_; }

  bool visible = false;
  bool marks_visible = true;
  MarksStyle marks_style = MarksStyle::kValue;

 private:
  std::vector<ChartPoint> points_;
};

class TChart {
 public:
  TChart();

  ChartSeries& Series(SeriesKind kind) { return series_[static_cast<size_t>(kind)]; }
  const ChartSeries& Series(SeriesKind kind) const { return series_[static_cast<size_t>(kind)]; }
  // Shows the series of this kind and hides the other five.
  void ShowOnly(SeriesKind kind);
  // The kind of the first visible series; nullopt when none is visible.
  std::optional<SeriesKind> VisibleKind() const;

  // CR LF (or a lone LF) breaks the title into lines.
  QString title;
  bool legend_visible = true;
  LegendTextStyle legend_style = LegendTextStyle::kLeftValue;
  int pie_rotation = 0;  // degrees, 0 to 360

  // The background: chart colour and back colour, and a gradient from
  // gradient_start to gradient_end drawn instead when gradient_visible.
  QColor color = Qt::white;
  QColor back_color = Qt::white;
  bool gradient_visible = false;
  QColor gradient_start = Qt::white;
  QColor gradient_end = Qt::white;
  GradientDirection gradient_direction = GradientDirection::kTopToBottom;

  // The default back colour of the engine (what "no back colour" means).
  static QColor DefaultBackColor();
  // The automatic colour of the point at this position.
  static QColor AutomaticColor(int position);

  // Draws the whole chart into target. With for_print the chart is laid out
  // on a logical area 25 % larger than target and mapped onto it, so that
  // text and lines keep their proportions at printer resolution.
  void Draw(QPainter& painter, const QRectF& target, bool for_print = false) const;

  // The label of the visible point drawn at pos when the chart is drawn
  // into target; nullopt when pos is on no point.
  std::optional<QString> HitTest(const QRectF& target, const QPointF& pos) const;

 private:
  std::array<ChartSeries, kSeriesKinds> series_;
};

}  // namespace quorvant::app
