// render_drawings: a build step. Draws each of the program's SVG drawings at
// the sizes the windows ask for and writes them as "<name>-<size>.argb" into
// an output folder, so that the program shows them without reading, drawing
// or even decoding anything while it starts. The format is the one
// drawn_image.h reads.
//
// Usage: render_drawings OUTPUT_DIR SIZES FILE.svg...   (SIZES: "24,32,48")
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QStringList>
#include <QSvgRenderer>
#include <cstdio>

#include "app/shell/drawn_image.h"

int main(int argc, char* argv[]) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: render_drawings OUTPUT_DIR SIZES FILE.svg...\n");
    return 2;
  }
  const QDir out(QString::fromLocal8Bit(argv[1]));
  if (!out.mkpath(".")) {
    std::fprintf(stderr, "render_drawings: cannot create %s\n", argv[1]);
    return 1;
  }
  const QStringList sizes = QString::fromLocal8Bit(argv[2]).split(',', Qt::SkipEmptyParts);
  for (int i = 3; i < argc; ++i) {
    const QString path = QString::fromLocal8Bit(argv[i]);
    QSvgRenderer renderer(path);
    if (!renderer.isValid()) {
      std::fprintf(stderr, "render_drawings: %s is not a drawing\n", argv[i]);
      return 1;
    }
    for (const QString& size : sizes) {
      const int side = size.toInt();
      QSize drawn = renderer.defaultSize();
      drawn.scale(side, side, Qt::KeepAspectRatio);
      QImage image(drawn, QImage::Format_ARGB32_Premultiplied);
      image.fill(Qt::transparent);
      QPainter painter(&image);
      renderer.render(&painter);
      painter.end();
      const QString name = QFileInfo(path).completeBaseName() + "-" + size + ".argb";
      QFile file(out.filePath(name));
      if (!file.open(QIODevice::WriteOnly) ||
          file.write(quorvant::app::EncodeDrawnImage(image)) < 0) {
        std::fprintf(stderr, "render_drawings: cannot write %s\n", qPrintable(name));
        return 1;
      }
    }
  }
  return 0;
}
