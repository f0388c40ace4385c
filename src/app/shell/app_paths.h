// Where the program finds its shipped files (help pages, icons) at run time.
#pragma once

#include <QString>

namespace quorvant::app {

// The shipped data folder: the source tree's data/ for a build run in
// place, else the installed share/quorvant folder. Without a trailing "/".
QString ShippedDataDir();

// The help page file for a help context ("contents", "getting-started",
// "question-editor", ...).
QString HelpPagePath(const QString& page);

}  // namespace quorvant::app
