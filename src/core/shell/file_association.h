// The desktop's association of survey files (*.qvx) with this program: a
// shared-mime-info package and a .desktop entry under $XDG_DATA_HOME
// (~/.local/share when unset), refreshed at every start.
#pragma once

#include <string>

namespace quorvant {

// The MIME type of survey files.
inline constexpr char kSurveyMimeType[] = "application/x-quorvant-survey";

// Writes the MIME package and the desktop entry that opens `program_path`
// with a file, rewriting only what differs from the files already there,
// and asks the desktop's databases to refresh when something changed.
// Best effort: nothing is reported. Returns true when a file was rewritten.
bool RegisterFileType(const std::string& program_path, const std::string& icon_path);

// The texts written by RegisterFileType.
std::string MimePackageText();
std::string DesktopEntryText(const std::string& program_path, const std::string& icon_path);

}  // namespace quorvant
