#include "core/webpage/shipped_templates.h"

#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "core/shell/atomic_file.h"

namespace quorvant {
namespace {

namespace fs = std::filesystem;

std::string WithSlash(std::string dir) {
  if (!dir.empty() && dir.back() != '/') dir += '/';
  return dir;
}

// The folder that holds the running program, or empty.
std::string ProgramDirectory() {
  char buf[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return {};
  return fs::path(std::string(buf, static_cast<size_t>(n))).parent_path().string();
}

}  // namespace

std::string ShippedDataDirectory() {
  if (const char* env = std::getenv("QUORVANT_SHARE_DIR"); env != nullptr && *env != '\0') {
    return WithSlash(env);
  }
  const std::string program_dir = ProgramDirectory();
  if (!program_dir.empty()) {
    const std::string installed =
        (fs::path(program_dir).parent_path() / QUORVANT_DATA_INSTALL_DIR).string();
    if (DirectoryExists(installed)) return WithSlash(installed);
  }
  if (DirectoryExists(QUORVANT_SOURCE_DATA_DIR)) return WithSlash(QUORVANT_SOURCE_DATA_DIR);
  return {};
}

int InstallShippedTemplates(const std::string& shipped_dir, const std::string& data_dir) {
  if (shipped_dir.empty() || data_dir.empty()) return 0;
  const fs::path source = fs::path(shipped_dir) / "templates";
  std::error_code ec;
  fs::directory_iterator it(source, ec);
  if (ec) return 0;
  fs::create_directories(data_dir, ec);
  int copied = 0;
  for (const fs::directory_entry& entry : it) {
    const fs::path& from = entry.path();
    if (from.extension() != ".qvg" || !entry.is_regular_file(ec)) continue;
    const std::string to = WithSlash(data_dir) + from.filename().string();
    if (fs::exists(fs::symlink_status(to, ec))) continue;
    const std::optional<std::string> text = ReadWholeFile(from.string());
    if (text && WriteFileAtomically(to, *text)) ++copied;
  }
  return copied;
}

}  // namespace quorvant
