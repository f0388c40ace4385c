// quorvant-cli chart: the chart of one question, drawn by the same engine
// and from the same settings as the Analysis page, into a PNG, JPEG or SVG
// file.
#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <cstdio>
#include <cstdlib>

#include "app/analysis/chart_settings.h"
#include "app/chart/chart_jpeg.h"
#include "cli/commands.h"
#include "cli/desktop_commands.h"
#include "cli/option_arguments.h"
#include "cli/qt_application.h"
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
  const std::optional<int> value = WholeNumber(text);
  if (!value || *value < low || *value > high) return std::nullopt;
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

std::string CheckSize(std::string_view name, const std::string& value) {
  if (Number(value, 1, kLargest)) return {};
  return std::string(name) + " must be a number from 1 to " + std::to_string(kLargest);
}

}  // namespace

int RunChart(const Args& args) {
  const auto parsed =
      ParseArguments(args, {.options = {{.name = "--width", .check = CheckSize},
                                        {.name = "--height", .check = CheckSize},
                                        {.name = "--where", .kind = OptionKind::kList}},
                            .least_positional = 3,
                            .most_positional = 3,
                            .usage = kUsage});
  if (!parsed) return 2;
  const std::vector<std::string>& positional = parsed->positional;
  const int width = *Number(parsed->Value("--width").value_or("800"), 1, kLargest);
  const int height = *Number(parsed->Value("--height").value_or("600"), 1, kLargest);
  const std::optional<int> id = Number(positional[1], 0, 1 << 30);
  if (!id) return UsageError("the question ID must be a number: " + positional[1]);
  const std::optional<Format> format = FormatOf(positional[2]);
  if (!format) return UsageError("the chart file must end in .png, .jpg or .svg");

  SettingsStore settings;
  TSurvey survey(settings);
  uint32_t records = 0;
  if (const int status = LoadAndCount(positional[0], parsed->Values("--where"), survey, &records);
      status != 0) {
    return status;
  }
  const int index = SurveyItemOfId(survey, *id, ItemKinds::kHeadersToo);
  if (index < 0) return 1;
  const TQuestion* question = &survey.Item(index);
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
