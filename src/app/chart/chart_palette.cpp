// The automatic colours: a palette that stays distinct for readers with the
// common colour-vision deficiencies and in a grey print (after the
// Okabe-Ito set, with a darker yellow that reads on white), repeated as
// lighter and then darker tints beyond its eight colours.
#include <array>

#include "app/chart/chart.h"
#include "app/chart/chart_frame.h"

namespace quorvant::app {
namespace {

constexpr std::array<QRgb, 8> kPalette = {
    0x0072B2,  // blue
    0xE69F00,  // orange
    0x009E73,  // bluish green
    0xCC79A7,  // reddish purple
    0x56B4E9,  // sky blue
    0xD55E00,  // vermillion
    0xC9B51A,  // yellow, darkened
    0x7F7F7F,  // grey
};

QColor Mixed(const QColor& a, const QColor& b, double share_of_b) {
  return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * share_of_b,
                          a.greenF() + (b.greenF() - a.greenF()) * share_of_b,
                          a.blueF() + (b.blueF() - a.blueF()) * share_of_b);
}

}  // namespace

QColor TChart::DefaultBackColor() { return QColor(Qt::transparent); }

QColor TChart::AutomaticColor(int position) {
  const size_t n = kPalette.size();
  const size_t p = static_cast<size_t>(position < 0 ? -position : position);
  const QColor base = QColor::fromRgb(kPalette[p % n]);
  switch ((p / n) % 3) {
    case 1:
      return Mixed(base, Qt::white, 0.45);
    case 2:
      return Mixed(base, Qt::black, 0.35);
    default:
      return base;
  }
}

namespace chart_detail {

QColor PointColor(const ChartFrame& frame, int point) {
  // Line and area draw one series colour; the other kinds colour each point.
  if (frame.kind == SeriesKind::kLine || frame.kind == SeriesKind::kArea) {
    return TChart::AutomaticColor(0);
  }
  const QColor& given = frame.series->Points()[static_cast<size_t>(point)].color;
  return given.isValid() ? given : TChart::AutomaticColor(point);
}

QColor SurfaceColor(const TChart& chart) {
  if (chart.gradient_visible) return Mixed(chart.gradient_start, chart.gradient_end, 0.5);
  return chart.color;
}

QColor InkColor(const QColor& surface) {
  const double luminance =
      0.2126 * surface.redF() + 0.7152 * surface.greenF() + 0.0722 * surface.blueF();
  return luminance < 0.45 ? QColor(0xF4, 0xF4, 0xF4) : QColor(0x22, 0x22, 0x22);
}

}  // namespace chart_detail
}  // namespace quorvant::app
