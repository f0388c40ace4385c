// The chart engine, judged on the pictures it draws: the background reaches
// the image, hidden series and empty charts draw nothing but title and
// background, every kind stays inside its rectangle, a click at the middle
// of a drawn point finds that point, marks and legend never overlap, the
// print layout is the screen layout of a larger area, and SVG output draws
// the same chart.
#include "app/chart/chart.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QRandomGenerator>
#include <QSvgGenerator>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QtTest>

#include "app/chart/chart_frame.h"
#include "app/chart/chart_view.h"

using namespace quorvant::app;

class ChartTest : public QObject {
  Q_OBJECT

 private slots:
  void solidAndGradientBackgroundsReachTheImage();
  void hiddenSeriesAndEmptyChartsDrawOnlyTitleAndBackground();
  void everyKindDrawsInsideItsRectangle();
  void aClickAtAPointsMiddleReportsItsLabel();
  void zeroValuesGetNoSlice();
  void marksAndLegendNeverOverlap();
  void printLayoutIsTheScreenLayoutOfALargerArea();
  void svgDrawsTheSameChart();
  void theViewReportsAClickedPoint();
  void aPrinterDrawsThePrintLayout();
};

namespace {

const QColor kDistinct[] = {QColor(200, 30, 30), QColor(30, 160, 40), QColor(40, 60, 210),
                            QColor(220, 180, 20), QColor(150, 40, 170)};

QImage Drawn(const TChart& chart, QSize size, const QRectF& target, bool for_print = false) {
  QImage image(size, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  chart.Draw(painter, target, for_print);
  painter.end();
  return image;
}

QImage Drawn(const TChart& chart, QSize size = {600, 400}) {
  return Drawn(chart, size, QRectF(QPointF(0, 0), size));
}

// Points in the given colours, copied into every series, only `kind` shown.
void Fill(TChart& chart, SeriesKind kind, const std::vector<double>& values, bool colours = true) {
  ChartSeries& bar = chart.Series(SeriesKind::kBar);
  bar.Clear();
  for (size_t i = 0; i < values.size(); ++i) {
    bar.Add(values[i], QString("Answer %1").arg(i + 1), colours ? kDistinct[i % 5] : QColor());
  }
  for (int k = 1; k < kSeriesKinds; ++k) chart.Series(static_cast<SeriesKind>(k)).CopyFrom(bar);
  chart.ShowOnly(kind);
}

bool Near(QRgb a, QColor b, int tolerance = 6) {
  return std::abs(qRed(a) - b.red()) <= tolerance && std::abs(qGreen(a) - b.green()) <= tolerance &&
         std::abs(qBlue(a) - b.blue()) <= tolerance && qAlpha(a) == 255;
}

// The pixels exactly of colour c (inside shapes, away from their edges).
std::vector<QPoint> PixelsOf(const QImage& image, QColor c) {
  std::vector<QPoint> found;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (Near(image.pixel(x, y), c, 1)) found.emplace_back(x, y);
    }
  }
  return found;
}

double MeanDifference(const QImage& a, const QImage& b) {
  double sum = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
             std::abs(qBlue(p) - qBlue(q));
    }
  }
  return sum / (3.0 * a.width() * a.height());
}

const char* const kKindNames[] = {"bar", "pie", "area", "horizontal bar", "line", "point"};

}  // namespace

void ChartTest::solidAndGradientBackgroundsReachTheImage() {
  TChart chart;
  chart.title = "Title";
  Fill(chart, SeriesKind::kBar, {3, 1});
  chart.color = chart.back_color = QColor(10, 120, 200);
  QImage image = Drawn(chart);
  QVERIFY(Near(image.pixel(1, 1), chart.color));
  QVERIFY(Near(image.pixel(598, 398), chart.color));
  QVERIFY(Near(image.pixel(598, 1), chart.color));

  chart.gradient_visible = true;
  chart.back_color = TChart::DefaultBackColor();
  chart.gradient_start = QColor(255, 0, 0);
  chart.gradient_end = QColor(0, 0, 255);
  const QPoint top(300, 0), bottom(300, 399), left(0, 200), right(599, 200);
  struct Row {
    GradientDirection direction;
    QPoint start, end;
  };
  for (const Row& row : {Row{GradientDirection::kTopToBottom, top, bottom},
                         Row{GradientDirection::kBottomToTop, bottom, top},
                         Row{GradientDirection::kLeftToRight, left, right},
                         Row{GradientDirection::kRightToLeft, right, left}}) {
    chart.gradient_direction = row.direction;
    image = Drawn(chart);
    QVERIFY2(Near(image.pixel(row.start), chart.gradient_start, 12),
             qPrintable(QString::number(int(row.direction))));
    QVERIFY(Near(image.pixel(row.end), chart.gradient_end, 12));
    // Half way the colours are mixed.
    const QRgb middle = image.pixel((row.start + row.end) / 2);
    QVERIFY(qRed(middle) > 80 && qRed(middle) < 180 && qBlue(middle) > 80 && qBlue(middle) < 180);
  }
}

void ChartTest::hiddenSeriesAndEmptyChartsDrawOnlyTitleAndBackground() {
  TChart empty;
  empty.title = "Nobody answered\r\nType: Single Choice";
  const QImage title_only = Drawn(empty);
  // The title is drawn, at the top left.
  bool inked = false;
  for (int y = 0; y < 60 && !inked; ++y) {
    for (int x = 0; x < 200 && !inked; ++x) inked = qGray(title_only.pixel(x, y)) < 128;
  }
  QVERIFY(inked);

  for (int k = 0; k < kSeriesKinds; ++k) {
    TChart chart;
    chart.title = empty.title;
    Fill(chart, static_cast<SeriesKind>(k), {4, 2, 7});
    QVERIFY2(Drawn(chart) != title_only, kKindNames[k]);
    chart.Series(static_cast<SeriesKind>(k)).visible = false;
    QVERIFY2(Drawn(chart) == title_only, kKindNames[k]);
    QVERIFY(!chart.HitTest(QRectF(0, 0, 600, 400), QPointF(300, 200)).has_value());
    // Shown but without points: the same.
    Fill(chart, static_cast<SeriesKind>(k), {});
    QVERIFY2(Drawn(chart) == title_only, kKindNames[k]);
  }
}

void ChartTest::everyKindDrawsInsideItsRectangle() {
  const QRect target(90, 60, 400, 300);
  for (int k = 0; k < kSeriesKinds; ++k) {
    for (bool for_print : {false, true}) {
      TChart chart;
      chart.title = "A long title that would run far beyond the right edge of its rectangle";
      Fill(chart, static_cast<SeriesKind>(k), {5, 9, 1, 3}, false);
      const QImage image = Drawn(chart, {600, 450}, target, for_print);
      int series_pixels = 0;
      for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
          const QRgb p = image.pixel(x, y);
          if (!target.contains(x, y)) {
            QVERIFY2(qAlpha(p) == 0,
                     qPrintable(QString("%1 drew at %2,%3").arg(kKindNames[k]).arg(x).arg(y)));
          } else if (Near(p, TChart::AutomaticColor(0), 2)) {
            ++series_pixels;
          }
        }
      }
      // The first point's colour fills a visible part of the rectangle.
      // Lines and dots cover less than bars, slices and areas.
      QVERIFY2(series_pixels > (k >= 4 ? 60 : 400),
               qPrintable(QString("%1: %2").arg(kKindNames[k]).arg(series_pixels)));
    }
  }
}

void ChartTest::aClickAtAPointsMiddleReportsItsLabel() {
  const QRectF target(20, 10, 700, 450);
  const QSize size(740, 470);
  for (SeriesKind kind :
       {SeriesKind::kBar, SeriesKind::kPie, SeriesKind::kHorizontalBar, SeriesKind::kPoint}) {
    for (int rotation : {0, 90, 250}) {
      TChart chart;
      chart.title = "Where did you hear of us?";
      chart.pie_rotation = rotation;
      chart.legend_visible = rotation != 90;
      Fill(chart, kind, {6, 2, 9, 4, 1});
      const QImage image = Drawn(chart, size, target);
      for (int i = 0; i < 5; ++i) {
        // The middle of the pixels in the point's colour, outside the
        // legend's swatches: the slice, bar or dot itself.
        std::vector<QPoint> pixels = PixelsOf(image, kDistinct[i]);
        QVERIFY(!pixels.empty());
        const QRectF legend = quorvant::app::chart_detail::LayOutChart(chart, target.size())
                                  .legend.rect.translated(target.topLeft());
        std::erase_if(pixels, [&](QPoint p) { return legend.contains(p); });
        QPointF sum;
        int n = 0;
        for (const QPoint& p : pixels) {
          sum += p;
          ++n;
        }
        QVERIFY(n > 0);
        QPointF middle = sum / n;
        // The centroid of a pie slice lies inside it for slices under half
        // the pie; for the others take the pixel nearest the centroid.
        const auto nearest =
            std::min_element(pixels.begin(), pixels.end(), [&](QPoint a, QPoint b) {
              return QLineF(a, middle).length() < QLineF(b, middle).length();
            });
        middle = QPointF(*nearest);
        const std::optional<QString> label = chart.HitTest(target, middle);
        QVERIFY2(label == QString("Answer %1").arg(i + 1),
                 qPrintable(QString("%1 rotation %2 point %3: %4")
                                .arg(kKindNames[int(kind)])
                                .arg(rotation)
                                .arg(i + 1)
                                .arg(label.value_or("nothing"))));
      }
      QVERIFY(!chart.HitTest(target, target.topLeft() + QPointF(2, target.height() - 2)));
      QVERIFY(!chart.HitTest(target, QPointF(5, 5)));
    }
  }
}

void ChartTest::zeroValuesGetNoSlice() {
  TChart chart;
  Fill(chart, SeriesKind::kPie, {0, 5, 0, 3, 0});
  chart.legend_visible = false;
  QImage image = Drawn(chart);
  QVERIFY(PixelsOf(image, kDistinct[0]).empty());
  QVERIFY(PixelsOf(image, kDistinct[2]).empty());
  QVERIFY(!PixelsOf(image, kDistinct[1]).empty());
  // The legend lists the answers of 0 all the same.
  chart.legend_visible = true;
  image = Drawn(chart);
  QVERIFY(!PixelsOf(image, kDistinct[0]).empty());
  // All zero: a chart without slices that does not break.
  Fill(chart, SeriesKind::kPie, {0, 0});
  chart.legend_visible = false;
  image = Drawn(chart);
  QVERIFY(PixelsOf(image, kDistinct[0]).empty());
  for (int k = 0; k < kSeriesKinds; ++k) {
    Fill(chart, static_cast<SeriesKind>(k), {0, 0, 0});
    chart.legend_visible = true;
    QVERIFY(!Drawn(chart).isNull());
  }
}

void ChartTest::marksAndLegendNeverOverlap() {
  using namespace quorvant::app::chart_detail;
  QRandomGenerator random(1234);
  for (int round = 0; round < 60; ++round) {
    TChart chart;
    const auto kind = static_cast<SeriesKind>(round % kSeriesKinds);
    chart.title = QString("Question %1\r\nType: Single Choice").arg(round);
    const int n = 1 + random.bounded(24);
    ChartSeries& series = chart.Series(kind);
    for (int i = 0; i < n; ++i) {
      const QString label = QString("Answer").repeated(1 + random.bounded(6)) + QString::number(i);
      series.Add(random.bounded(3) == 0 ? 0 : random.bounded(100), label);
    }
    chart.ShowOnly(kind);
    chart.legend_style = static_cast<LegendTextStyle>(random.bounded(5));
    series.marks_style = static_cast<MarksStyle>(random.bounded(8));
    chart.pie_rotation = random.bounded(360);
    const QSizeF size(300 + random.bounded(900), 200 + random.bounded(700));
    const ChartFrame frame = LayOutChart(chart, size);
    const std::vector<PlacedMark> marks = PlaceMarks(frame, chart, ShapeSeries(frame, chart));
    const QString where =
        QString("round %1 size %2x%3").arg(round).arg(size.width()).arg(size.height());
    for (size_t a = 0; a < marks.size(); ++a) {
      QVERIFY2(frame.area.contains(marks[a].rect), qPrintable(where));
      QVERIFY2(!marks[a].rect.intersects(frame.legend.rect), qPrintable(where));
      QVERIFY2(!marks[a].rect.intersects(frame.title_rect), qPrintable(where));
      for (size_t b = a + 1; b < marks.size(); ++b) {
        QVERIFY2(!marks[a].rect.intersects(marks[b].rect), qPrintable(where));
      }
    }
    const auto& entries = frame.legend.entries;
    for (size_t a = 0; a < entries.size(); ++a) {
      // Rows and columns may touch but not overlap.
      const QRectF ra =
          entries[a].swatch.united(entries[a].text).adjusted(0.01, 0.01, -0.01, -0.01);
      QVERIFY2(frame.area.contains(ra), qPrintable(where));
      QVERIFY2(!ra.intersects(frame.title_rect), qPrintable(where));
      QVERIFY2(!ra.intersects(frame.plot), qPrintable(where));
      for (size_t b = a + 1; b < entries.size(); ++b) {
        const QRectF rb = entries[b].swatch.united(entries[b].text);
        QVERIFY2(!ra.intersects(rb),
                 qPrintable(where + QString(" entries %1 %2 at %3,%4 %5x%6 and %7,%8")
                                        .arg(a)
                                        .arg(b)
                                        .arg(ra.x())
                                        .arg(ra.y())
                                        .arg(ra.width())
                                        .arg(ra.height())
                                        .arg(rb.x())
                                        .arg(rb.y())));
      }
    }
    // Every point is in the legend, listed or counted in its last line.
    if (!frame.legend.entries.empty() && frame.legend.more.isEmpty()) {
      QCOMPARE(int(entries.size()), n);
    }
  }
}

void ChartTest::printLayoutIsTheScreenLayoutOfALargerArea() {
  TChart chart;
  chart.title = "Printed\r\nType: Single Choice";
  Fill(chart, SeriesKind::kPie, {5, 3, 2});
  const QImage printed = Drawn(chart, {480, 320}, QRectF(0, 0, 480, 320), true);
  const QImage larger =
      Drawn(chart, {600, 400}).scaled(480, 320, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  const QImage same_size = Drawn(chart, {480, 320});
  QVERIFY2(MeanDifference(printed, larger) < 4,
           qPrintable(QString::number(MeanDifference(printed, larger))));
  QVERIFY(MeanDifference(printed, same_size) > MeanDifference(printed, larger) * 2);
}

void ChartTest::svgDrawsTheSameChart() {
  TChart chart;
  chart.title = "Vector\r\nType: Single Choice";
  chart.color = chart.back_color = QColor(250, 240, 200);
  Fill(chart, SeriesKind::kBar, {5, 3, 2});
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator svg;
  svg.setOutputDevice(&buffer);
  svg.setSize(QSize(600, 400));
  svg.setViewBox(QRectF(0, 0, 600, 400));
  {
    QPainter painter(&svg);
    chart.Draw(painter, QRectF(0, 0, 600, 400));
  }
  QVERIFY(bytes.contains("<svg"));
  QVERIFY(bytes.contains("Answer 2"));
  QSvgRenderer renderer(bytes);
  QVERIFY(renderer.isValid());
  QImage image(600, 400, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  renderer.render(&painter);
  painter.end();
  QVERIFY(Near(image.pixel(2, 2), chart.color));
  const double difference = MeanDifference(image, Drawn(chart));
  QVERIFY2(difference < 3, qPrintable(QString::number(difference)));
}

void ChartTest::theViewReportsAClickedPoint() {
  ChartView view;
  view.resize(500, 350);
  Fill(view.chart(), SeriesKind::kPie, {1, 3});
  view.chart().pie_rotation = 40;
  view.show();
  QVERIFY(QTest::qWaitForWindowExposed(&view));
  const QImage image = view.grab().toImage().convertToFormat(QImage::Format_ARGB32);
  QSignalSpy clicked(&view, &ChartView::PointClicked);
  const std::vector<QPoint> slice = PixelsOf(image, kDistinct[1]);
  QVERIFY(!slice.empty());
  // A pixel of the larger slice well inside it: the middle one of its row
  // of pixels through the slice's middle.
  const QPoint at = slice[slice.size() / 2];
  QTest::mouseClick(&view, Qt::LeftButton, {}, at);
  QCOMPARE(clicked.count(), 1);
  QCOMPARE(clicked.at(0).at(0).toString(), QString("Answer 2"));
  QTest::mouseClick(&view, Qt::RightButton, {}, at);
  QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(3, 3));
  QCOMPARE(clicked.count(), 1);
}

void ChartTest::aPrinterDrawsThePrintLayout() {
  QTemporaryDir dir;
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(dir.filePath("chart.pdf"));
  TChart chart;
  chart.title = "On paper\r\nType: Single Choice";
  Fill(chart, SeriesKind::kPie, {5, 3, 2});
  {
    QPainter painter(&printer);
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const double w = page.width();
    chart.Draw(painter, QRectF(w / 20, w / 20, w * 0.9, w / 2), true);
  }
  QFile file(dir.filePath("chart.pdf"));
  QVERIFY(file.open(QIODevice::ReadOnly));
  const QByteArray pdf = file.readAll();
  QVERIFY(pdf.startsWith("%PDF"));
  QVERIFY2(pdf.size() > 3000, qPrintable(QString::number(pdf.size())));
}

QTEST_MAIN(ChartTest)
#include "chart_test.moc"
