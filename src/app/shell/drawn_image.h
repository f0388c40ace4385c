// The form in which the build keeps drawings drawn ahead: the width and the
// height as 32-bit little-endian numbers, then the pixels row by row as
// premultiplied ARGB, 32-bit little-endian each. The program shows such a
// drawing straight from its compiled-in bytes, with nothing to decode.
#pragma once

#include <QByteArray>
#include <QImage>

namespace quorvant::app {

QByteArray EncodeDrawnImage(const QImage& image);

// The image the bytes hold, sharing them (they must outlive it); a null image
// when the bytes are not a drawing of this form.
QImage DecodeDrawnImage(const uchar* data, qint64 size);

}  // namespace quorvant::app
