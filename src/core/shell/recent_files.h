// The recent-file list behind the File menu's "&Reopen" submenu: full paths,
// most recent first, at most six, stored as "MRUList"/"File 0" to "File 5".
//
// Thread-safety: none; the list belongs to the main window.
#pragma once

#include <string>
#include <vector>

namespace quorvant {

class SettingsStore;

struct ReopenEntry {
  std::string caption;  // the full path, or the bare name in the last directory
  int index = 0;        // position in the list
};

class RecentFiles {
 public:
  static constexpr int kMaxFiles = 6;

  // Replaces the list with the stored entries, skipping "N/A".
  void Load(const SettingsStore& store);
  // Writes every entry, and "N/A" in the places beyond the list so that an
  // entry removed during the run does not come back at the next start.
  void Save(SettingsStore& store) const;

  // Puts path at the head; a bare name is taken as being in last_dir. An entry
  // already there (compared without regard to case) moves to the head;
  // otherwise the oldest entry falls off when the list is full.
  void Add(std::string path, const std::string& last_dir);
  // Removes every entry equal to path, without regard to case.
  void Remove(const std::string& path);

  const std::vector<std::string>& Files() const { return files_; }

  // The Reopen menu: every entry, the open survey's own file included, so
  // that a file just saved or opened is offered at once.
  std::vector<ReopenEntry> ReopenEntries(const std::string& last_dir) const;

 private:
  std::vector<std::string> files_;
};

// The bare file name when path's folder equals last_dir (without regard to
// case), else path itself. last_dir has no trailing "/".
std::string ShortPath(const std::string& path, const std::string& last_dir);

// The folder part of path without a trailing "/"; empty for a bare name.
std::string DirectoryOf(const std::string& path);

}  // namespace quorvant
