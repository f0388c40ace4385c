// quorvant-cli chart: the chart of one question, drawn by the same engine
// and from the same settings as the Analysis page, into a PNG, JPEG or SVG
// file.
#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <charconv>
#include <cstdio>
#include <cstdlib>

#include "app/analysis/chart_settings.h"
#include "cli/commands.h"
#include "core/analysis/question_view_texts.h"
#include "core/shell/atomic_file.h"
#include "core/shell/settings_store.h"
#include "core/survey/survey.h"

namespace quorvant::cli {
namespace {

constexpr char kUsage[] =
    "usage: quorvant-cli chart SURVEY.qvx ID OUT.png|OUT.svg|OUT.jpg [--width W --height H] "
    "[--where COND]...";
constexpr int kLargest = 20000;

enum class Format { kPng, kJpg, kSvg };

std::optional<int> Number(const std::string& text, int low, int high) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < low || value > high) {
    return std::nullopt;
  }
  return value;
}

std::optional<Format> FormatOf(const std::string& path) {
  const size_t dot = path.rfind('.');
  if (dot == std::string::npos) return std::nullopt;
  std::string ext = path.substr(dot + 1);
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (ext == "png") return Format::kPng;
  if (ext == "jpg") return Format::kJpg;
  if (ext == "svg") return Format::kSvg;
  return std::nullopt;
}

QByteArray Drawn(const app::TChart& chart, Format format, int width, int height) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  const QRectF target(0, 0, width, height);
  if (format == Format::kSvg) {
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(QSize(width, height));
    svg.setViewBox(target);
    svg.setTitle(chart.title.section(QStringLiteral("\r\n"), 0, 0));
    QPainter painter(&svg);
    chart.Draw(painter, target);
    return bytes;
  }
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  chart.Draw(painter, target);
  painter.end();
  image.save(&buffer, format == Format::kPng ? "PNG" : "JPG", format == Format::kPng ? -1 : 90);
  return bytes;
}

}  // namespace

int RunChart(const Args& args) {
  std::vector<std::string> positional;
  std::vector<std::string> conditions;
  int width = 800;
  int height = 600;
  for (size_t i = 0; i < args.size(); ++i) {
    const bool has_value = i + 1 < args.size();
    if ((args[i] == "--width" || args[i] == "--height") && has_value) {
      const std::optional<int> n = Number(args[i + 1], 1, kLargest);
      if (!n)
        return UsageError(args[i] + " must be a number from 1 to " + std::to_string(kLargest));
      (args[i] == "--width" ? width : height) = *n;
      ++i;
    } else if (args[i] == "--where" && has_value) {
      conditions.push_back(args[++i]);
    } else if (args[i].starts_with("-") || positional.size() == 3) {
      return UsageError(kUsage);
    } else {
      positional.push_back(args[i]);
    }
  }
  if (positional.size() != 3) return UsageError(kUsage);
  const std::optional<int> id = Number(positional[1], 0, 1 << 30);
  if (!id) return UsageError("the question ID must be a number: " + positional[1]);
  const std::optional<Format> format = FormatOf(positional[2]);
  if (!format) return UsageError("the chart file must end in .png, .jpg or .svg");

  SettingsStore settings;
  TSurvey survey(settings);
  uint32_t records = 0;
  if (const int status = LoadAndCount(positional[0], conditions, survey, &records); status != 0) {
    return status;
  }
  const TQuestion* question = nullptr;
  for (const TQuestion& item : survey.Items()) {
    if (item.ID == *id) question = &item;
  }
  if (question == nullptr) {
    std::fprintf(stderr, "The survey has no question with the ID %d.\n", *id);
    return 1;
  }
  if (question->IsHeader() || question->Style == kStyleText) {
    std::fprintf(stderr, "Question %d is %s and has no chart.\n", *id,
                 question->IsHeader() ? "a header" : "a Text question");
    return 1;
  }

  // Text needs the platform's fonts; no display is needed for that.
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char name[] = "quorvant-cli";
  static char* argv[] = {name, nullptr};
  QGuiApplication application(argc, argv);

  app::TChart chart;
  app::FillChart(chart, *question, survey.Results());
  app::ApplyQuestionSettings(chart, *question);
  app::ApplyBackground(chart, app::StoredChartBackground(settings));
  chart.title = QString::fromStdString(ChartTitle(*question, survey.Results()));
  const QByteArray bytes = Drawn(chart, *format, width, height);
  if (bytes.isEmpty() ||
      !WriteFileAtomically(positional[2], std::string_view(bytes.constData(), bytes.size()))) {
    std::fprintf(stderr, "The chart could not be written to %s.\n", positional[2].c_str());
    return 1;
  }
  return 0;
}

}  // namespace quorvant::cli
