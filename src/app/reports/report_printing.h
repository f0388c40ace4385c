// Runs a report's drawing on a printer or into a PDF file: opens the
// painter, hands the drawing a PainterCanvas and ends the job.
#pragma once

#include <QFont>
#include <QString>
#include <functional>

#include "app/reports/painter_canvas.h"
#include "core/reports/page_canvas.h"

class QPrinter;

namespace quorvant::app {

using ReportDrawing = std::function<void(PageCanvas&)>;

// Draws on the printer as set up (copies, paper, output file; a PDF file
// holds each copy), the job
// titled `title`. False when the printer cannot be started. Exceptions of
// the drawing pass on, after the job has been ended. The canvas draws its
// charts with `chart`.
bool PrintReport(QPrinter& printer, const QString& title, const QFont& font,
                 const ReportDrawing& draw, const PainterCanvas::ChartDrawer& chart = {});

// The same into a PDF file at path, on A4 at 600 dots per inch.
bool PrintReportToPdf(const QString& path, const QString& title, const QFont& font,
                      const ReportDrawing& draw, const PainterCanvas::ChartDrawer& chart = {});

// The printed reports' font: Arial (or the system's stand-in for it), 10
// points, regular.
QFont ReportFont();

}  // namespace quorvant::app
