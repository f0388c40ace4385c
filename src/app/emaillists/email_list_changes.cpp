#include "app/emaillists/email_list_changes.h"

#include <QFileInfo>

namespace quorvant::app {

EmailListChanges& EmailListChanges::Instance() {
  static EmailListChanges changes;
  return changes;
}

QString EmailListChanges::FileKey(const std::string& path) {
  const QFileInfo info(QString::fromStdString(path));
  const QString canonical = info.canonicalFilePath();
  return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

void EmailListChanges::Announce(const std::string& path, const QObject* source) {
  emit Changed(FileKey(path), source);
}

}  // namespace quorvant::app
