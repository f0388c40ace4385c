#include "app/chart/chart_text.h"

#include <cmath>

namespace quorvant::app::chart_detail {
namespace {

// Up to `decimals` decimals, trailing zeros dropped.
QString Trimmed(double value, int decimals) {
  QString text = QString::number(value, 'f', decimals);
  if (text.contains('.')) {
    while (text.endsWith('0')) text.chop(1);
    if (text.endsWith('.')) text.chop(1);
  }
  return text == "-0" ? QStringLiteral("0") : text;
}

QString Joined(const QString& a, const QString& b) {
  if (a.isEmpty()) return b;
  if (b.isEmpty()) return a;
  return a + ' ' + b;
}

}  // namespace

QString FormatValue(double value) { return Trimmed(value, 2); }

QString FormatPercent(double value, double total) {
  if (total == 0 || !std::isfinite(value / total)) return QStringLiteral("0%");
  return Trimmed(value / total * 100.0, 1) + '%';
}

bool LegendNumberFirst(LegendTextStyle style) {
  return style == LegendTextStyle::kLeftValue || style == LegendTextStyle::kLeftPercent;
}

QString LegendNumber(LegendTextStyle style, double value, double total) {
  switch (style) {
    case LegendTextStyle::kPlain:
      return QString();
    case LegendTextStyle::kLeftValue:
    case LegendTextStyle::kRightValue:
      return FormatValue(value);
    case LegendTextStyle::kLeftPercent:
    case LegendTextStyle::kRightPercent:
      return FormatPercent(value, total);
  }
  return QString();
}

QString LegendText(LegendTextStyle style, const ChartPoint& point, double total) {
  const QString number = LegendNumber(style, point.value, total);
  return LegendNumberFirst(style) ? Joined(number, point.label) : Joined(point.label, number);
}

QString MarkText(MarksStyle style, LegendTextStyle legend_style, const ChartPoint& point,
                 double total) {
  const QString percent = FormatPercent(point.value, total);
  const QString of_total = percent + " of " + FormatValue(total);
  switch (style) {
    case MarksStyle::kValue:
      return FormatValue(point.value);
    case MarksStyle::kPercent:
      return percent;
    case MarksStyle::kLabel:
      return point.label;
    case MarksStyle::kLabelPercent:
      return Joined(point.label, percent);
    case MarksStyle::kLabelValue:
      return Joined(point.label, FormatValue(point.value));
    case MarksStyle::kLegend:
      return LegendText(legend_style, point, total);
    case MarksStyle::kPercentTotal:
      return of_total;
    case MarksStyle::kLabelPercentTotal:
      return Joined(point.label, of_total);
  }
  return FormatValue(point.value);
}

QString ShortMarkText(MarksStyle style, LegendTextStyle legend_style, const ChartPoint& point,
                      double total) {
  switch (style) {
    case MarksStyle::kValue:
    case MarksStyle::kLabelValue:
      return FormatValue(point.value);
    case MarksStyle::kPercent:
    case MarksStyle::kLabelPercent:
    case MarksStyle::kPercentTotal:
    case MarksStyle::kLabelPercentTotal:
      return FormatPercent(point.value, total);
    case MarksStyle::kLabel:
      return point.label;
    case MarksStyle::kLegend:
      return legend_style == LegendTextStyle::kPlain
                 ? point.label
                 : LegendNumber(legend_style, point.value, total);
  }
  return FormatValue(point.value);
}

QString Shorten(const QString& text, const QFontMetricsF& metrics, double width) {
  if (metrics.horizontalAdvance(text) <= width) return text;
  const QString elided = metrics.elidedText(text, Qt::ElideRight, width);
  // A lone ellipsis says nothing; leave such a text out.
  return elided.size() <= 1 ? QString() : elided;
}

QStringList WrapTitle(const QString& title, const QFontMetricsF& metrics, double width) {
  QStringList lines;
  QString normalised = title;
  normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  for (const QString& given : normalised.split('\n')) {
    if (metrics.horizontalAdvance(given) <= width) {
      lines << given;
      continue;
    }
    // The longest run of whole words that fits, then the rest shortened.
    const QStringList words = given.split(' ');
    QString first;
    int used = 0;
    while (used < words.size()) {
      const QString next = first.isEmpty() ? words[used] : first + ' ' + words[used];
      if (metrics.horizontalAdvance(next) > width) break;
      first = next;
      ++used;
    }
    if (used == 0) {
      lines << Shorten(given, metrics, width);
      continue;
    }
    lines << first;
    lines << Shorten(words.mid(used).join(' '), metrics, width);
  }
  return lines;
}

}  // namespace quorvant::app::chart_detail
