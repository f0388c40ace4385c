#include "app/shell/drawn_image.h"

#include <QtEndian>

namespace quorvant::app {
namespace {

constexpr qint64 kHeaderSize = 8;

}  // namespace

QByteArray EncodeDrawnImage(const QImage& image) {
  const QImage pixels = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  QByteArray out;
  out.reserve(kHeaderSize + pixels.width() * pixels.height() * 4);
  const auto append32 = [&out](quint32 value) {
    const quint32 little = qToLittleEndian(value);
    out.append(reinterpret_cast<const char*>(&little), 4);
  };
  append32(static_cast<quint32>(pixels.width()));
  append32(static_cast<quint32>(pixels.height()));
  for (int y = 0; y < pixels.height(); ++y) {
    const auto* row = reinterpret_cast<const quint32*>(pixels.constScanLine(y));
    for (int x = 0; x < pixels.width(); ++x) append32(row[x]);
  }
  return out;
}

QImage DecodeDrawnImage(const uchar* data, qint64 size) {
  // Pixels are used in place, so only where memory holds them little-endian.
  if (Q_BYTE_ORDER != Q_LITTLE_ENDIAN || data == nullptr || size < kHeaderSize) return {};
  const quint32 width = qFromLittleEndian<quint32>(data);
  const quint32 height = qFromLittleEndian<quint32>(data + 4);
  if (width == 0 || height == 0 || width > 4096 || height > 4096 ||
      size != kHeaderSize + qint64(width) * height * 4) {
    return {};
  }
  return QImage(data + kHeaderSize, static_cast<int>(width), static_cast<int>(height),
                static_cast<qsizetype>(width) * 4, QImage::Format_ARGB32_Premultiplied);
}

}  // namespace quorvant::app
