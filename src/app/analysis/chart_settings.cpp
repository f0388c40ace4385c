#include "app/analysis/chart_settings.h"

#include "core/analysis/results.h"
#include "core/survey/question.h"

namespace quorvant::app {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

QColor ColorFromStored(int bgr) {
  return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

int StoredFromColor(const QColor& color) {
  return color.red() | color.green() << 8 | color.blue() << 16;
}

SeriesKind KindOfChartType(int chart_type) {
  return chart_type >= 0 && chart_type < kSeriesKinds ? static_cast<SeriesKind>(chart_type)
                                                      : SeriesKind::kBar;
}

void FillChart(TChart& chart, const TQuestion& question, const TResultsList& results) {
  ChartSeries& source = chart.Series(SeriesKind::kBar);
  source.Clear();
  if (question.Style == kStyleNumeric) {
    if (const TNumericResults* n = results.NumericOf(question.ID)) {
      for (const TCountResults& g : n->Groups) source.Add(g.Count, Q(g.Label));
    }
  } else {
    for (const TCountResults* e : results.CountsOf(question.ID)) {
      if (e->Count > 0) source.Add(e->Count, Q(e->Label));
    }
  }
  for (int k = 1; k < kSeriesKinds; ++k) chart.Series(static_cast<SeriesKind>(k)).CopyFrom(source);
  chart.ShowOnly(KindOfChartType(question.ChartType));
}

void ApplyQuestionSettings(TChart& chart, const TQuestion& question) {
  chart.legend_visible = question.DisplayLegend;
  if (question.LegendStyle >= 0 && question.LegendStyle <= 4) {
    chart.legend_style = static_cast<LegendTextStyle>(question.LegendStyle);
  }
  for (int k = 0; k < kSeriesKinds; ++k) {
    ChartSeries& series = chart.Series(static_cast<SeriesKind>(k));
    series.marks_visible = question.DisplayMarks;
    if (series.visible && question.MarksStyle >= 0 && question.MarksStyle <= 7) {
      series.marks_style = static_cast<MarksStyle>(question.MarksStyle);
    }
  }
  chart.pie_rotation = question.Rotation;
}

void ApplyBackground(TChart& chart, const ChartBackground& background) {
  chart.color = ColorFromStored(background.solid_color);
  chart.back_color =
      background.use_solid ? ColorFromStored(background.solid_color) : TChart::DefaultBackColor();
  chart.gradient_visible = !background.use_solid;
  chart.gradient_start = ColorFromStored(background.to_color);
  chart.gradient_end = ColorFromStored(background.from_color);
  if (background.gradient_direction >= 0 && background.gradient_direction <= 3) {
    chart.gradient_direction = static_cast<GradientDirection>(background.gradient_direction);
  }
}

}  // namespace quorvant::app
