#include "app/shell/app_paths.h"

#include "core/webpage/shipped_templates.h"

namespace quorvant::app {

QString HelpPagePath(const QString& page) {
  return QString::fromStdString(ShippedDataDirectory()) + "help/" + page + ".html";
}

}  // namespace quorvant::app
