#include "core/shell/recent_files.h"

#include <algorithm>

#include "core/shell/settings_keys.h"
#include "core/shell/settings_store.h"
#include "core/shell/text_helpers.h"

namespace quorvant {

std::string DirectoryOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {};
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string ShortPath(const std::string& path, const std::string& last_dir) {
  const std::string dir = DirectoryOf(path);
  if (!dir.empty() && EqualsIgnoreCase(dir, last_dir)) return path.substr(path.rfind('/') + 1);
  return path;
}

void RecentFiles::Load(const SettingsStore& store) {
  files_.clear();
  for (int n = 0; n < kMaxFiles; ++n) {
    std::string value =
        store.ReadString(settings::kMRUList, settings::RecentFileName(n), settings::kNoRecentFile);
    if (value != settings::kNoRecentFile) files_.push_back(std::move(value));
  }
}

void RecentFiles::Save(SettingsStore& store) const {
  for (int n = 0; n < kMaxFiles; ++n) {
    const bool used = n < static_cast<int>(files_.size());
    store.WriteString(
        settings::kMRUList, settings::RecentFileName(n),
        used ? std::string_view(files_[static_cast<size_t>(n)]) : settings::kNoRecentFile);
  }
}

void RecentFiles::Add(std::string path, const std::string& last_dir) {
  if (path.find('/') == std::string::npos) path = last_dir + "/" + path;
  const auto same = [&](const std::string& f) { return EqualsIgnoreCase(f, path); };
  const auto found = std::find_if(files_.begin(), files_.end(), same);
  if (found != files_.end()) {
    files_.erase(found);
  } else if (static_cast<int>(files_.size()) >= kMaxFiles) {
    files_.resize(kMaxFiles - 1);
  }
  files_.insert(files_.begin(), std::move(path));
}

void RecentFiles::Remove(const std::string& path) {
  std::erase_if(files_, [&](const std::string& f) { return EqualsIgnoreCase(f, path); });
}

std::vector<ReopenEntry> RecentFiles::ReopenEntries(const std::string& last_dir) const {
  std::vector<ReopenEntry> entries;
  for (size_t i = 0; i < files_.size(); ++i) {
    entries.push_back({ShortPath(files_[i], last_dir), static_cast<int>(i)});
  }
  return entries;
}

}  // namespace quorvant
