// The program's drawings look the same whether drawn at build time or from
// the SVG at run time, at every size and in every mode.
#include "app/shell/bundled_icon.h"

#include <QImage>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QSvgRenderer>
#include <QtTest>

#include "app/shell/drawn_image.h"

using quorvant::app::BundledIcon;

class BundledIconTest : public QObject {
  Q_OBJECT

 private slots:
  void sizesDrawnAtBuildMatchTheSvg();
  void otherSizesAreDrawnFromTheSvg();
  void disabledLooksComeFromTheStyle();
  void drawnImagesRoundTripAndRefuseBadBytes();
};

namespace {

QImage FromSvg(const QString& name, int side) {
  QSvgRenderer renderer(":/icons/" + name + ".svg");
  QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  renderer.render(&painter);
  painter.end();
  return image;
}

QImage Pixels(const QPixmap& pixmap) {
  return pixmap.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

}  // namespace

void BundledIconTest::sizesDrawnAtBuildMatchTheSvg() {
  for (const char* name : {"new", "style-single", "style-numeric", "quorvant"}) {
    QVERIFY2(QFile::exists(QString(":/drawn/%1-24.argb").arg(name)), name);
    for (int side : {24, 32}) {
      const QPixmap drawn = BundledIcon(name).pixmap(side, side);
      QCOMPARE(drawn.size(), QSize(side, side));
      QCOMPARE(Pixels(drawn), FromSvg(name, side));
    }
  }
  QCOMPARE(Pixels(BundledIcon("quorvant").pixmap(72, 72)), FromSvg("quorvant", 72));
}

void BundledIconTest::otherSizesAreDrawnFromTheSvg() {
  QVERIFY(!QFile::exists(":/drawn/save-40.argb"));
  const QIcon icon = BundledIcon("save");
  QCOMPARE(icon.actualSize(QSize(40, 40)), QSize(40, 40));
  QCOMPARE(Pixels(icon.pixmap(40, 40)), FromSvg("save", 40));
  // A wide box gets the square drawing at the box's height.
  QCOMPARE(icon.actualSize(QSize(60, 20)), QSize(20, 20));
}

void BundledIconTest::disabledLooksComeFromTheStyle() {
  const QIcon icon = BundledIcon("paste");
  const QImage normal = Pixels(icon.pixmap(24, 24, QIcon::Normal));
  const QImage disabled = Pixels(icon.pixmap(24, 24, QIcon::Disabled));
  QCOMPARE(disabled.size(), normal.size());
  QVERIFY(disabled != normal);
  QStyleOption option;
  option.palette = QApplication::palette();
  QCOMPARE(disabled, Pixels(QApplication::style()->generatedIconPixmap(
                         QIcon::Disabled, QPixmap::fromImage(normal), &option)));
}

void BundledIconTest::drawnImagesRoundTripAndRefuseBadBytes() {
  using quorvant::app::DecodeDrawnImage;
  const QImage image = FromSvg("email", 24);
  const QByteArray bytes = quorvant::app::EncodeDrawnImage(image);
  const auto* data = reinterpret_cast<const uchar*>(bytes.constData());
  QCOMPARE(DecodeDrawnImage(data, bytes.size()), image);
  QVERIFY(DecodeDrawnImage(data, bytes.size() - 1).isNull());  // cut short
  QVERIFY(DecodeDrawnImage(data, 7).isNull());
  QVERIFY(DecodeDrawnImage(nullptr, 0).isNull());
  QByteArray huge = bytes;
  huge[2] = 1;  // a width of 65,560 that the bytes cannot hold
  QVERIFY(DecodeDrawnImage(reinterpret_cast<const uchar*>(huge.constData()), huge.size()).isNull());
}

QTEST_MAIN(BundledIconTest)
#include "bundled_icon_test.moc"
