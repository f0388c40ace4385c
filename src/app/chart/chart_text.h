// The texts the chart writes beside its points: numbers, percents, the
// legend's five text styles and the marks' eight styles.
#pragma once

#include <QFontMetricsF>
#include <QString>
#include <QStringList>

#include "app/chart/chart.h"

namespace quorvant::app::chart_detail {

// A value as a count is written: no decimals when whole, else up to two.
QString FormatValue(double value);
// The share of total, "40%" or "33.3%"; "0%" when total is 0.
QString FormatPercent(double value, double total);

// The legend's number part of a point (empty for the plain style) and
// whether it comes before the label.
QString LegendNumber(LegendTextStyle style, double value, double total);
bool LegendNumberFirst(LegendTextStyle style);
QString LegendText(LegendTextStyle style, const ChartPoint& point, double total);

QString MarkText(MarksStyle style, LegendTextStyle legend_style, const ChartPoint& point,
                 double total);

// What a mark says when its whole text does not fit: its number alone
// (the percent or the value), or for the label style the label.
QString ShortMarkText(MarksStyle style, LegendTextStyle legend_style, const ChartPoint& point,
                      double total);

// The title's lines: broken at CR LF (or LF), each wrapped at words onto at
// most two lines of width and shortened with an ellipsis beyond.
QStringList WrapTitle(const QString& title, const QFontMetricsF& metrics, double width);

// text shortened with an ellipsis to at most width; empty when not even the
// first character and the ellipsis fit.
QString Shorten(const QString& text, const QFontMetricsF& metrics, double width);

}  // namespace quorvant::app::chart_detail
