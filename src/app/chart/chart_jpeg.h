// A chart as a JPEG file: drawn by the chart engine into an image of the
// asked size and written as a baseline JPEG at quality 90 by Qt's jpeg
// plugin (libjpeg-turbo), straight from memory.
#pragma once

#include <QByteArray>
#include <QSize>
#include <string>

namespace quorvant::app {

class TChart;

inline constexpr int kChartJpegQuality = 90;

// The JPEG bytes; empty when the image could not be encoded.
QByteArray ChartJpeg(const TChart& chart, QSize size);

// Writes ChartJpeg() to path, replacing the file atomically but without a
// flush to disk (a chart image is drawn again at will); false when it could
// not be encoded or written.
bool WriteChartJpeg(const TChart& chart, QSize size, const std::string& path);

}  // namespace quorvant::app
