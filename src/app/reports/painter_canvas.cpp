#include "app/reports/painter_canvas.h"

#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPen>

namespace quorvant::app {
namespace {

QString Q(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

PainterCanvas::PainterCanvas(QPainter& painter, QPagedPaintDevice& device, const QFont& base_font)
    : painter_(painter), device_(device), base_font_(base_font) {
  if (base_font_.pointSizeF() <= 0) base_font_.setPointSize(10);
  SetTextStyle({});
  SetPenWidth(1);
}

int PainterCanvas::PageWidth() const { return device_.width(); }
int PainterCanvas::PageHeight() const { return device_.height(); }

void PainterCanvas::SetTextStyle(const TextStyle& style) {
  QFont font = base_font_;
  font.setBold(style.bold);
  font.setPointSizeF(base_font_.pointSizeF() * (1.0 + style.size_step / 5.0) + style.points);
  painter_.setFont(font);
}

int PainterCanvas::TextWidth(std::string_view text) {
  return painter_.fontMetrics().horizontalAdvance(Q(text));
}

int PainterCanvas::TextHeight(std::string_view) { return painter_.fontMetrics().height(); }

void PainterCanvas::DrawText(int x, int y, std::string_view text) {
  painter_.drawText(x, y + painter_.fontMetrics().ascent(), Q(text));
}

void PainterCanvas::SetPenWidth(int width) {
  QPen pen(Qt::black);
  pen.setWidth(width);
  painter_.setPen(pen);
}

void PainterCanvas::DrawLine(int x1, int y1, int x2, int y2) { painter_.drawLine(x1, y1, x2, y2); }

void PainterCanvas::DrawCircle(int cx, int cy, int radius) {
  painter_.drawEllipse(QPoint(cx, cy), radius, radius);
}

void PainterCanvas::DrawSquare(int x, int y, int side) { painter_.drawRect(x, y, side, side); }

void PainterCanvas::DrawChart(int x1, int y1, int x2, int y2) {
  if (!chart_drawer_) return;
  // The chart sets its own pens and fonts; the report's come back after.
  painter_.save();
  chart_drawer_(painter_, QRectF(QPointF(x1, y1), QPointF(x2, y2)));
  painter_.restore();
}

void PainterCanvas::NewPage() { device_.newPage(); }

}  // namespace quorvant::app
