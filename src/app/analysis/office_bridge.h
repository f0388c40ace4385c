// The way the Analysis page hands a chart or answer lines to the word
// processor and the presentation program: a flat OpenDocument file in the
// temporary folder, opened with the desktop's program for its type.
#pragma once

#include <QImage>
#include <QString>
#include <string>
#include <vector>

namespace quorvant::app {

enum class OfficeKind { kText, kPresentation };

// The document's type ("application/vnd.oasis.opendocument.text" ...).
QString OfficeMimeType(OfficeKind kind);

// True when the desktop names a program for the type (xdg-mime).
bool DesktopHasProgramFor(const QString& mime_type);

// The flat document's text: the image (as PNG), or for kText without an
// image the lines as paragraphs.
std::string OfficeDocument(OfficeKind kind, const QImage& image,
                           const std::vector<std::string>& lines);

// Writes the document into a new temporary file (".fodt" or ".fodp") and
// returns its name, "" when it could not be written.
std::string WriteOfficeFile(OfficeKind kind, const std::string& document);

}  // namespace quorvant::app
