#include "core/shell/settings_keys.h"

#include <cstdlib>

#include "core/shell/settings_store.h"

namespace quorvant {
namespace {

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

}  // namespace

namespace settings {

std::string RecentFileName(int index) { return "File " + std::to_string(index); }

std::string DefaultDataDirectory() {
  std::string base = Variable("XDG_DATA_HOME");
  if (base.empty()) base = Variable("HOME") + "/.local/share";
  return WithTrailingSlash(WithTrailingSlash(base) + "Quorvant");
}

std::string DefaultLastDirectory() {
  std::string home = Variable("HOME");
  while (home.size() > 1 && home.back() == '/') home.pop_back();
  return home.empty() ? "/" : home;
}

}  // namespace settings

std::string WithTrailingSlash(std::string dir) {
  if (dir.empty() || dir.back() != '/') dir += '/';
  return dir;
}

std::string ReadDataDirectory(const SettingsStore& store) {
  return WithTrailingSlash(store.ReadString(settings::kDataDirectory.section,
                                            settings::kDataDirectory.name,
                                            settings::DefaultDataDirectory()));
}

std::string ReadLastDirectory(const SettingsStore& store) {
  std::string dir = store.ReadString(settings::kLastDirSavedTo.section,
                                     settings::kLastDirSavedTo.name,
                                     settings::DefaultLastDirectory());
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  return dir;
}

std::string ReadLastQuestionLibrary(const SettingsStore& store) {
  return store.ReadString(settings::kQuestionLibraryLast.section,
                          settings::kQuestionLibraryLast.name,
                          ReadDataDirectory(store) + "computer.qvl");
}

}  // namespace quorvant
