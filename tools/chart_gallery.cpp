// Not a test: pictures of every chart kind with every legend style and
// every marks style, and of the hard cases (long labels, one point, twenty
// points, counts of 0, a gradient, a small chart, print layout), for a person
// to look at. Usage: chart_gallery OUTDIR
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>

#include "app/chart/chart.h"

using namespace quorvant::app;

namespace {

const char* const kKinds[] = {"bar", "pie", "area", "hbar", "line", "point"};

void Fill(TChart& chart, const std::vector<std::pair<double, QString>>& points) {
  ChartSeries& bar = chart.Series(SeriesKind::kBar);
  bar.Clear();
  for (const auto& [value, label] : points) bar.Add(value, label);
  for (int k = 1; k < kSeriesKinds; ++k) chart.Series(static_cast<SeriesKind>(k)).CopyFrom(bar);
}

void Save(const TChart& chart, const QString& path, QSize size, bool for_print = false) {
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  chart.Draw(painter, QRectF(QPointF(0, 0), size), for_print);
  painter.end();
  if (!image.save(path)) std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

std::vector<std::pair<double, QString>> Twenty() {
  std::vector<std::pair<double, QString>> points;
  for (int i = 0; i < 20; ++i)
    points.push_back({double((i * 7) % 13 + 1), QString("Option %1").arg(i + 1)});
  return points;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM",
          qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QGuiApplication app(argc, argv);
  const QDir out(argc > 1 ? argv[1] : "build/chart_gallery");
  QDir().mkpath(out.path());
  const std::vector<std::pair<double, QString>> basic = {
      {12, "Yes"}, {7, "No"}, {3, "Don't know"}, {1, "Other"}};
  const std::vector<std::pair<double, QString>> long_labels = {
      {25, "Very satisfied with the service and the staff"},
      {14, "Somewhat satisfied, but the waiting time was far too long"},
      {6, "Neither satisfied nor dissatisfied"},
      {2, "Dissatisfied"},
      {1, "Other"}};
  const std::vector<std::pair<double, QString>> zeros = {
      {0, "0 to 9"}, {4, "10 to 19"}, {0, "20 to 29"}, {9, "30 to 39"}, {0, "40 to 49"}};

  for (int k = 0; k < kSeriesKinds; ++k) {
    TChart chart;
    chart.ShowOnly(static_cast<SeriesKind>(k));
    const QString kind = kKinds[k];
    chart.title = "Do you smoke?\r\nType: Single Choice";
    Fill(chart, basic);
    for (int l = 0; l < 5; ++l) {
      chart.legend_style = static_cast<LegendTextStyle>(l);
      Save(chart, out.filePath(QString("%1-legend%2.png").arg(kind).arg(l)), {800, 600});
    }
    chart.legend_style = LegendTextStyle::kLeftValue;
    for (int m = 0; m < 8; ++m) {
      chart.Series(static_cast<SeriesKind>(k)).marks_style = static_cast<MarksStyle>(m);
      Save(chart, out.filePath(QString("%1-marks%2.png").arg(kind).arg(m)), {800, 600});
    }
    chart.Series(static_cast<SeriesKind>(k)).marks_style = MarksStyle::kLabelPercent;
    chart.title =
        "How satisfied were you with your last visit to our office in the city "
        "centre, all things considered?\r\nType: Sliding Scale";
    Fill(chart, long_labels);
    Save(chart, out.filePath(kind + "-long.png"), {800, 600});
    Save(chart, out.filePath(kind + "-small.png"), {400, 300});
    Fill(chart, {{5, "Only answer"}});
    Save(chart, out.filePath(kind + "-one.png"), {800, 600});
    chart.title = "Which of these have you used?\r\nType: Multiple Choice";
    Fill(chart, Twenty());
    Save(chart, out.filePath(kind + "-twenty.png"), {800, 600});
    Save(chart, out.filePath(kind + "-twenty-small.png"), {400, 300});
    chart.title = "Age\r\nType: Numeric Value\r\nAverage:    31";
    chart.Series(static_cast<SeriesKind>(k)).marks_style = MarksStyle::kValue;
    Fill(chart, zeros);
    Save(chart, out.filePath(kind + "-zeros.png"), {800, 600});
    chart.gradient_visible = true;
    chart.back_color = TChart::DefaultBackColor();
    chart.gradient_start = QColor(0x00, 0x80, 0x80);
    chart.gradient_end = Qt::white;
    chart.pie_rotation = 90;
    Fill(chart, basic);
    Save(chart, out.filePath(kind + "-gradient.png"), {800, 600});
    chart.gradient_visible = false;
    chart.back_color = Qt::white;
    chart.legend_visible = false;
    Save(chart, out.filePath(kind + "-nolegend.png"), {800, 600});
    chart.legend_visible = true;
    Save(chart, out.filePath(kind + "-print.png"), {1600, 800}, true);
    Save(chart, out.filePath(kind + "-tall.png"), {500, 700});
  }
  // How long a redraw at the Analysis page's usual size takes.
  for (int k = 0; k < kSeriesKinds; ++k) {
    TChart chart;
    chart.title = "Timing\r\nType: Multiple Choice";
    Fill(chart, Twenty());
    chart.ShowOnly(static_cast<SeriesKind>(k));
    chart.Series(static_cast<SeriesKind>(k)).marks_style = MarksStyle::kLabelPercent;
    QImage image(800, 600, QImage::Format_RGB32);
    QPainter painter(&image);
    QElapsedTimer timer;
    timer.start();
    constexpr int kRounds = 20;
    for (int i = 0; i < kRounds; ++i) chart.Draw(painter, QRectF(0, 0, 800, 600));
    std::printf("%-6s 20 points at 800x600: %.2f ms a redraw\n", kKinds[k],
                timer.nsecsElapsed() / 1e6 / kRounds);
  }
  TChart empty;
  empty.title = "Nobody answered\r\nType: Single Choice";
  Save(empty, out.filePath("empty.png"), {800, 600});
  return 0;
}
