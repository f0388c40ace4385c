// The per-user settings store: one profile file,
// $QUORVANT_CONFIG_DIR/QuorvantBuilder.ini, else
// $XDG_CONFIG_HOME/QuorvantBuilder/QuorvantBuilder.ini (~/.config when unset).
// Sections and value names are those of settings_keys.h.
//
// Every read looks at the file as it is now (a parsed copy is reused while the
// file is unchanged on disk), so two windows or two processes that share the
// store see each other's writes. Every write replaces the file atomically at
// once. Reads never fail: an absent or unreadable value gives the default.
// Writes that fail report nothing, as a settings write is never worth
// interrupting the person for; WriteFailed() tells tests and diagnostics.
//
// Thread-safety: none; each thread should own its SettingsStore.
#pragma once

#include <string>
#include <string_view>

#include "core/shell/profile_file.h"
#include "core/shell/settings_keys.h"

namespace quorvant {

class SettingsStore {
 public:
  // The store at DefaultPath().
  SettingsStore();
  // The store writes its file through env, and a survey made with the store
  // takes its files and clock from it too; env must outlive the store.
  explicit SettingsStore(std::string path, Env& env = DefaultEnv());

  // The store's file path by the rule above.
  static std::string DefaultPath();

  const std::string& Path() const { return path_; }
  Env& env() const { return *env_; }

  std::string ReadString(std::string_view section, std::string_view name,
                         std::string_view default_value) const;
  int ReadInteger(std::string_view section, std::string_view name, int default_value) const;
  bool ReadBool(std::string_view section, std::string_view name, bool default_value) const;

  std::string Read(const StringSetting& s) const { return ReadString(s.section, s.name, s.fallback); }
  int Read(const IntSetting& s) const { return ReadInteger(s.section, s.name, s.fallback); }
  bool Read(const BoolSetting& s) const { return ReadBool(s.section, s.name, s.fallback); }

  void WriteString(std::string_view section, std::string_view name, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view name, int value);
  void WriteBool(std::string_view section, std::string_view name, bool value);

  void Write(const StringSetting& s, std::string_view v) { WriteString(s.section, s.name, v); }
  void Write(const IntSetting& s, int v) { WriteInteger(s.section, s.name, v); }
  void Write(const BoolSetting& s, bool v) { WriteBool(s.section, s.name, v); }

  // True when the last write could not be stored.
  bool WriteFailed() const { return write_failed_; }

 private:
  const ProfileFile& Current() const;
  template <typename WriteFn>
  void Update(WriteFn write);

  std::string path_;
  Env* env_;
  mutable ProfileFile cached_;
  mutable std::string cached_stamp_;  // identity of the file the cache was read from
  bool write_failed_ = false;
};

}  // namespace quorvant
