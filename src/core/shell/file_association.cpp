#include "core/shell/file_association.h"

#include <cstdlib>
#include <filesystem>

#include "core/shell/atomic_file.h"
#include "core/shell/system_helpers.h"

namespace quorvant {
namespace {

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
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
  return WriteFileAtomically(path, text);
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

}  // namespace

std::string MimePackageText() {
  return std::string(
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
             "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
             "  <mime-type type=\"") +
         kSurveyMimeType +
         "\">\n"
         "    <comment>Quorvant survey</comment>\n"
         "    <glob pattern=\"*.qvx\"/>\n"
         "  </mime-type>\n"
         "</mime-info>\n";
}

std::string DesktopEntryText(const std::string& program_path, const std::string& icon_path) {
  std::string text =
      "[Desktop Entry]\n"
      "Type=Application\n"
      "Name=Quorvant\n"
      "Comment=Compose, publish and analyse web surveys\n"
      "Exec=" +
      QuoteExec(program_path) +
      " %f\n"
      "MimeType=" +
      kSurveyMimeType + ";\n";
  if (!icon_path.empty()) text += "Icon=" + icon_path + "\n";
  return text + "Categories=Office;\nTerminal=false\n";
}

bool RegisterFileType(const std::string& program_path, const std::string& icon_path) {
  const std::string base = DataHome();
  if (base.empty() || base.front() != '/') return false;
  const bool mime = Refresh(base + "/mime/packages/quorvant.xml", MimePackageText());
  const bool desktop =
      Refresh(base + "/applications/quorvant.desktop", DesktopEntryText(program_path, icon_path));
  if (mime) RunDetached({"update-mime-database", base + "/mime"});
  if (desktop) RunDetached({"update-desktop-database", base + "/applications"});
  return mime || desktop;
}

}  // namespace quorvant
