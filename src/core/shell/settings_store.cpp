#include "core/shell/settings_store.h"

#include <sys/stat.h>

#include <cstdlib>

#include "core/shell/atomic_file.h"

namespace quorvant {
namespace {

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// Device, inode, size and modification time: changes whenever the file is
// replaced or rewritten.
std::string StampOf(const std::string& path) {
  struct stat st{};
  if (::stat(path.c_str(), &st) != 0) return "missing";
  return std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino) + ":" +
         std::to_string(st.st_size) + ":" + std::to_string(st.st_mtim.tv_sec) + "." +
         std::to_string(st.st_mtim.tv_nsec);
}

void MakeDirectories(const std::string& dir) {
  for (size_t slash = dir.find('/', 1); ; slash = dir.find('/', slash + 1)) {
    ::mkdir(dir.substr(0, slash).c_str(), 0700);
    if (slash == std::string::npos) break;
  }
}

}  // namespace

SettingsStore::SettingsStore() : SettingsStore(DefaultPath()) {}

SettingsStore::SettingsStore(std::string path, Env& env) : path_(std::move(path)), env_(&env) {}

std::string SettingsStore::DefaultPath() {
  std::string dir = Variable("QUORVANT_CONFIG_DIR");
  if (dir.empty()) {
    std::string base = Variable("XDG_CONFIG_HOME");
    if (base.empty()) base = Variable("HOME") + "/.config";
    dir = base + "/QuorvantBuilder";
  }
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  return dir + "/QuorvantBuilder.ini";
}

const ProfileFile& SettingsStore::Current() const {
  std::string stamp = StampOf(path_);
  if (stamp != cached_stamp_) {
    cached_ = ProfileFile::LoadOrEmpty(path_);
    cached_stamp_ = std::move(stamp);
  }
  return cached_;
}

std::string SettingsStore::ReadString(std::string_view section, std::string_view name,
                                      std::string_view default_value) const {
  return Current().ReadString(section, name, default_value);
}

int SettingsStore::ReadInteger(std::string_view section, std::string_view name,
                               int default_value) const {
  return Current().ReadInteger(section, name, default_value);
}

bool SettingsStore::ReadBool(std::string_view section, std::string_view name,
                             bool default_value) const {
  return Current().ReadBool(section, name, default_value);
}

template <typename WriteFn>
void SettingsStore::Update(WriteFn write) {
  ProfileFile file = Current();
  write(file);
  const size_t slash = path_.find_last_of('/');
  if (slash != std::string::npos && slash > 0) MakeDirectories(path_.substr(0, slash));
  write_failed_ = !WriteFileAtomically(path_, file.ToText(), WriteDurability::kDurable, *env_);
  if (!write_failed_) {
    cached_ = std::move(file);
    cached_stamp_ = StampOf(path_);
  }
}

void SettingsStore::WriteString(std::string_view section, std::string_view name,
                                std::string_view value) {
  Update([&](ProfileFile& f) { f.WriteString(section, name, value); });
}

void SettingsStore::WriteInteger(std::string_view section, std::string_view name, int value) {
  Update([&](ProfileFile& f) { f.WriteInteger(section, name, value); });
}

void SettingsStore::WriteBool(std::string_view section, std::string_view name, bool value) {
  Update([&](ProfileFile& f) { f.WriteBool(section, name, value); });
}

}  // namespace quorvant
