#include "app/reports/report_printing.h"

#include <QFile>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <filesystem>

#include "app/reports/painter_canvas.h"

namespace quorvant::app {

QFont ReportFont() {
  QFont font(QStringLiteral("Arial"), 10);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

bool PrintReport(QPrinter& printer, const QString& title, const QFont& font,
                 const ReportDrawing& draw, const PainterCanvas::ChartDrawer& chart) {
  printer.setDocName(title);
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  // A PDF file holds what is drawn only once, and a printer without copies
  // of its own neither: each copy is drawn, starting on a page of its own.
  const bool draw_copies =
      printer.outputFormat() == QPrinter::PdfFormat || !printer.supportsMultipleCopies();
  const int copies = draw_copies ? std::max(1, printer.copyCount()) : 1;
  try {
    for (int copy = 0; copy < copies; ++copy) {
      if (copy > 0) printer.newPage();
      PainterCanvas canvas(painter, printer, font);
      canvas.SetChartDrawer(chart);
      draw(canvas);
    }
  } catch (...) {
    painter.end();
    throw;
  }
  return painter.end();
}

bool PrintReportToPdf(const QString& path, const QString& title, const QFont& font,
                      const ReportDrawing& draw, const PainterCanvas::ChartDrawer& chart) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setResolution(600);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setPageSize(QPageSize(QPageSize::A4));
  // Written beside the target and renamed over it, so that a failed run
  // leaves the old file.
  const QString part = path + ".part";
  printer.setOutputFileName(part);
  bool printed = false;
  try {
    printed = PrintReport(printer, title, font, draw, chart);
  } catch (...) {
    QFile::remove(part);
    throw;
  }
  std::error_code ec;
  if (printed) std::filesystem::rename(part.toStdString(), path.toStdString(), ec);
  if (!printed || ec) QFile::remove(part);
  return printed && !ec;
}

}  // namespace quorvant::app
