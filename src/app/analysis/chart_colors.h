// The colours the Chart Toolbox offers, by name, in its order ("Gray" and
// "Silver" come twice), with their values in the standard 16-colour palette.
#pragma once

#include <QColor>
#include <QString>
#include <vector>

namespace quorvant::app {

struct NamedColor {
  QString name;
  QColor color;
};

const std::vector<NamedColor>& ChartColorChoices();

// The first entry whose colour equals color; -1 when none does.
int ChartColorIndex(const QColor& color);

}  // namespace quorvant::app
