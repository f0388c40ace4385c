#include "app/shell/app_paths.h"

#include <QFileInfo>

namespace quorvant::app {

QString ShippedDataDir() {
  const QString source = QStringLiteral(QUORVANT_SOURCE_DATA_DIR);
  if (QFileInfo(source + "/help/contents.html").exists()) return source;
  return QStringLiteral(QUORVANT_INSTALL_DATA_DIR);
}

QString HelpPagePath(const QString& page) { return ShippedDataDir() + "/help/" + page + ".html"; }

}  // namespace quorvant::app
