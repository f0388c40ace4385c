// The program's own drawings (data/icons, compiled in as ":/icons/<name>.svg")
// as icons. The sizes the windows use are drawn at build time (":/drawn/
// <name>-<side>.argb", see drawn_image.h); other sizes are drawn from the SVG
// when first asked for. Each size and mode is made once. Qt's own SVG icons read every file
// up front and draw it again when painted; for the twenty drawings of the
// splash, the toolbar and the question list that was a noticeable part of
// the program's start.
#pragma once

#include <QIcon>
#include <QString>

namespace quorvant::app {

// The drawing `name` ("new", "style-single", "quorvant", ...).
QIcon BundledIcon(const QString& name);

// The freedesktop theme's icon `theme_name`, or the drawing `bundled` when
// the theme has none (the drawing is then not made at all).
QIcon ThemeIcon(const char* theme_name, const char* bundled);

}  // namespace quorvant::app
