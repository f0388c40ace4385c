#include "app/analysis/chart_colors.h"

namespace quorvant::app {

const std::vector<NamedColor>& ChartColorChoices() {
  static const std::vector<NamedColor> choices = {
      {"Aqua", QColor(0, 255, 255)},     {"Black", QColor(0, 0, 0)},
      {"Blue", QColor(0, 0, 255)},       {"Gray", QColor(128, 128, 128)},
      {"Fuchsia", QColor(255, 0, 255)},  {"Gray", QColor(128, 128, 128)},
      {"Green", QColor(0, 128, 0)},      {"Lime", QColor(0, 255, 0)},
      {"Silver", QColor(192, 192, 192)}, {"Maroon", QColor(128, 0, 0)},
      {"Navy", QColor(0, 0, 128)},       {"Olive", QColor(128, 128, 0)},
      {"Purple", QColor(128, 0, 128)},   {"Red", QColor(255, 0, 0)},
      {"Silver", QColor(192, 192, 192)}, {"Teal", QColor(0, 128, 128)},
      {"White", QColor(255, 255, 255)},  {"Yellow", QColor(255, 255, 0)},
  };
  return choices;
}

int ChartColorIndex(const QColor& color) {
  const auto& choices = ChartColorChoices();
  for (size_t i = 0; i < choices.size(); ++i) {
    if (choices[i].color.rgb() == color.rgb()) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace quorvant::app
