// PainterCanvas: the page canvas of the printed reports on a printer or any
// other paged device (a PDF file), drawn through QPainter in the device's
// pixels.
//
// Ownership: borrows the painter and the device, which must outlive it.
// Thread-safety: the GUI thread only.
#pragma once

#include <QFont>
#include <QRectF>
#include <functional>

#include "core/reports/page_canvas.h"

class QPagedPaintDevice;
class QPainter;

namespace quorvant::app {

class PainterCanvas : public PageCanvas {
 public:
  // Draws the report's current chart into the rectangle, in device pixels.
  using ChartDrawer = std::function<void(QPainter&, const QRectF&)>;

  // `base_font` is the font of TextStyle{}; its size is taken in points, so
  // the text has the same size on every device.
  PainterCanvas(QPainter& painter, QPagedPaintDevice& device, const QFont& base_font);

  int PageWidth() const override;
  int PageHeight() const override;
  void SetTextStyle(const TextStyle& style) override;
  int TextWidth(std::string_view text) override;
  int TextHeight(std::string_view text) override;
  void DrawText(int x, int y, std::string_view text) override;
  void SetPenWidth(int width) override;
  void DrawLine(int x1, int y1, int x2, int y2) override;
  void DrawCircle(int cx, int cy, int radius) override;
  void DrawSquare(int x, int y, int side) override;
  void DrawChart(int x1, int y1, int x2, int y2) override;
  void NewPage() override;

  // Without a drawer DrawChart leaves the rectangle blank.
  void SetChartDrawer(ChartDrawer drawer) { chart_drawer_ = std::move(drawer); }

 private:
  QPainter& painter_;
  QPagedPaintDevice& device_;
  QFont base_font_;
  ChartDrawer chart_drawer_;
};

}  // namespace quorvant::app
