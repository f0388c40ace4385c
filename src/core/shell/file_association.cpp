#include "core/shell/file_association.h"

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sstream>

#include "core/shell/atomic_file.h"
#include "core/shell/system_helpers.h"

namespace quorvant {
namespace {

namespace fs = std::filesystem;

std::string DataHome() {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg != nullptr && *xdg != '\0') return xdg;
  const char* home = std::getenv("HOME");
  return std::string(home != nullptr ? home : "") + "/.local/share";
}

// Writes the file unless it already holds exactly this text.
bool Refresh(const std::string& path, const std::string& text) {
  if (ReadWholeFile(path) == text) return false;
  std::error_code ignored;
  fs::create_directories(fs::path(path).parent_path(), ignored);
  return WriteFileAtomically(path, text);
}

// Removes the file when it is one of ours: it names the survey type.
bool RemoveOurs(const std::string& path) {
  const std::optional<std::string> text = ReadWholeFile(path);
  if (!text || text->find(kSurveyMimeType) == std::string::npos) return false;
  std::error_code ignored;
  return fs::remove(path, ignored);
}

// A desktop entry's Exec key quotes arguments with double quotes and escapes
// backslashes, quotes, dollar signs and backticks inside them.
std::string QuoteExec(const std::string& path) {
  std::string out = "\"";
  for (char c : path) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

bool IsInstalled(const std::string& program_path) {
  const fs::path prefix = fs::path(program_path).parent_path().parent_path();
  std::error_code ignored;
  return fs::exists(prefix / "share/applications" / (std::string(kDesktopEntryId) + ".desktop"),
                    ignored);
}

}  // namespace

std::string DesktopEntryText(const std::string& entry, const std::string& program_path,
                             const std::string& icon_path) {
  std::istringstream lines(entry);
  std::string out;
  for (std::string line; std::getline(lines, line);) {
    if (line.starts_with("Exec=")) {
      line = "Exec=" + QuoteExec(program_path) + " %f";
    } else if (line.starts_with("TryExec=")) {
      // TryExec takes a plain path, not a quoted command line.
      line = "TryExec=" + program_path;
    } else if (line.starts_with("Icon=")) {
      if (icon_path.empty()) continue;
      line = "Icon=" + icon_path;
    }
    out += line + "\n";
  }
  return out;
}

bool RegisterFileType(const std::string& program_path, const std::string& shipped_dir) {
  const std::string base = DataHome();
  if (base.empty() || base.front() != '/') return false;
  const std::string id = kDesktopEntryId;
  const std::string mime_path = base + "/mime/packages/" + id + ".xml";
  const std::string entry_path = base + "/applications/" + id + ".desktop";
  // Written by versions that named the files after the program.
  bool mime = RemoveOurs(base + "/mime/packages/quorvant.xml");
  bool desktop = RemoveOurs(base + "/applications/quorvant.desktop");
  if (IsInstalled(program_path)) {
    mime = RemoveOurs(mime_path) || mime;
    desktop = RemoveOurs(entry_path) || desktop;
  } else if (!shipped_dir.empty()) {
    const std::optional<std::string> package =
        ReadWholeFile(shipped_dir + "desktop/" + id + ".xml");
    const std::optional<std::string> entry =
        ReadWholeFile(shipped_dir + "desktop/" + id + ".desktop");
    if (package) mime = Refresh(mime_path, *package) || mime;
    if (entry) {
      const std::string icon = shipped_dir + "icons/quorvant.svg";
      desktop = Refresh(entry_path, DesktopEntryText(*entry, program_path, icon)) || desktop;
    }
  }
  if (mime) RunDetached({"update-mime-database", base + "/mime"});
  if (desktop) RunDetached({"update-desktop-database", base + "/applications"});
  return mime || desktop;
}

}  // namespace quorvant
