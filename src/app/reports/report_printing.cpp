#include "app/reports/report_printing.h"

#include <QFile>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
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
  PainterCanvas canvas(painter, printer, font);
  canvas.SetChartDrawer(chart);
  try {
    draw(canvas);
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
