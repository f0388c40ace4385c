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
#include "app/chart/chart_jpeg.h"
#include "cli/commands.h"
#include "cli/offscreen_gui.h"
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
    painter.end();  // the generator writes the closing tags here
    return bytes;
  }
  if (format == Format::kJpg) return app::ChartJpeg(chart, QSize(width, height));
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  chart.Draw(painter, target);
  painter.end();
  image.save(&buffer, "PNG");
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

  const auto application = StartOffscreenGui();

  app::TChart chart;
  app::PrepareQuestionChart(chart, *question, survey.Results(), app::StoredBackground(settings));
  const QByteArray bytes = Drawn(chart, *format, width, height);
  if (bytes.isEmpty() ||
      !WriteFileAtomically(positional[2], std::string_view(bytes.constData(), bytes.size()))) {
    std::fprintf(stderr, "The chart could not be written to %s.\n", positional[2].c_str());
    return 1;
  }
  return 0;
}

}  // namespace quorvant::cli
