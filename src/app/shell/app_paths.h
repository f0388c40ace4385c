// Where the program finds its help pages at run time.
#pragma once

#include <QString>

namespace quorvant::app {

// The help page file for a help context ("contents", "getting-started",
// "question-editor", ...), in the shipped data folder.
QString HelpPagePath(const QString& page);

}  // namespace quorvant::app
