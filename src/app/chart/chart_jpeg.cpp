#include "app/chart/chart_jpeg.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QPainter>

#include "app/chart/chart.h"
#include "core/shell/atomic_file.h"

namespace quorvant::app {

QByteArray ChartJpeg(const TChart& chart, QSize size) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    chart.Draw(painter, QRectF(QPointF(0, 0), QSizeF(size)));
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "jpeg");
  writer.setQuality(kChartJpegQuality);
  // Baseline: progressive scans are left off, and so is optimised coding,
  // which some older viewers read badly.
  writer.setProgressiveScanWrite(false);
  writer.setOptimizedWrite(false);
  if (!writer.write(image)) return {};
  return bytes;
}

bool WriteChartJpeg(const TChart& chart, QSize size, const std::string& path) {
  const QByteArray bytes = ChartJpeg(chart, size);
  return !bytes.isEmpty() &&
         WriteFileAtomically(path, std::string_view(bytes.constData(), bytes.size()),
                             WriteDurability::kRegenerable);
}

}  // namespace quorvant::app
