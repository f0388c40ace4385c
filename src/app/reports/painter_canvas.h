// PainterCanvas: the page canvas of the printed reports on a printer or any
// other paged device (a PDF file), drawn through QPainter in the device's
// pixels.
//
// Ownership: borrows the painter and the device, which must outlive it.
// Thread-safety: the GUI thread only.
#pragma once

#include <QFont>

#include "core/reports/page_canvas.h"

class QPagedPaintDevice;
class QPainter;

namespace quorvant::app {

class PainterCanvas : public PageCanvas {
 public:
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
  void NewPage() override;

 private:
  QPainter& painter_;
  QPagedPaintDevice& device_;
  QFont base_font_;
};

}  // namespace quorvant::app
