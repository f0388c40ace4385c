// The program's own drawings (data/icons, compiled in as ":/icons/<name>.svg")
// as icons that read and draw their drawing only when first painted, and draw
// each size and mode once. Qt's own SVG icons read every file once more up
// front, only to check it; for the twenty drawings of the splash, the toolbar
// and the question list that was a noticeable part of the program's start.
#pragma once

#include <QIcon>
#include <QString>

namespace quorvant::app {

// The drawing `name` ("new", "style-single", "quorvant", ...).
QIcon BundledIcon(const QString& name);

}  // namespace quorvant::app
