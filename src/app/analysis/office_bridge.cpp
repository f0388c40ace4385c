#include "app/analysis/office_bridge.h"

#include <QBuffer>
#include <QProcess>

#include "core/reports/office_documents.h"
#include "core/shell/atomic_file.h"
#include "core/shell/system_helpers.h"

namespace quorvant::app {

QString OfficeMimeType(OfficeKind kind) {
  return kind == OfficeKind::kText ? "application/vnd.oasis.opendocument.text"
                                   : "application/vnd.oasis.opendocument.presentation";
}

bool DesktopHasProgramFor(const QString& mime_type) {
  QProcess query;
  query.start("xdg-mime", {"query", "default", mime_type});
  if (!query.waitForFinished(5000) || query.exitStatus() != QProcess::NormalExit) return false;
  return !query.readAllStandardOutput().trimmed().isEmpty();
}

std::string OfficeDocument(OfficeKind kind, const QImage& image,
                           const std::vector<std::string>& lines) {
  if (image.isNull()) return FlatTextWithLines(lines);
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  const QByteArray base64 = png.toBase64();
  const EmbeddedImage embedded{std::string_view(base64.constData(), base64.size()), image.width(),
                               image.height()};
  return kind == OfficeKind::kText ? FlatTextWithImage(embedded)
                                   : FlatPresentationWithImage(embedded);
}

std::string WriteOfficeFile(OfficeKind kind, const std::string& document) {
  const std::string file = CreateTempFile(kind == OfficeKind::kText ? "fodt" : "fodp");
  if (file.empty() || !WriteFileAtomically(file, document)) return "";
  return file;
}

}  // namespace quorvant::app
