#include "core/libraries/library_files.h"

#include <algorithm>
#include <filesystem>

#include "core/shell/atomic_file.h"
#include "core/shell/profile_file.h"
#include "core/shell/text_helpers.h"
#include "core/survey/survey.h"
#include "core/survey/survey_copy.h"

namespace quorvant {
namespace {

// Bare names of those files, sorted without regard to letter case.
std::vector<std::string> SortedBareNames(const std::string& dir, std::string_view ext) {
  std::vector<std::string> names;
  for (const std::string& p : FilesInDirectoryOrder(dir, ext)) {
    names.push_back(std::filesystem::path(p).filename().string());
  }
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    return ToLowerAscii(a) < ToLowerAscii(b);
  });
  return names;
}

}  // namespace

std::vector<std::string> FilesInDirectoryOrder(const std::string& data_dir, std::string_view ext) {
  std::vector<std::string> found;
  std::error_code error;
  for (std::filesystem::directory_iterator it(data_dir, error), end; !error && it != end;
       it.increment(error)) {
    std::error_code type_error;
    if (!it->is_regular_file(type_error)) continue;
    if (EqualsIgnoreCase(it->path().extension().string(), ext)) {
      found.push_back(it->path().string());
    }
  }
  return found;
}

std::vector<std::string> ListQuestionLibraries(const std::string& data_dir) {
  return FilesInDirectoryOrder(data_dir, ".qvl");
}

std::string FreeQuestionLibraryPath(const std::string& data_dir) {
  for (int i = 0;; ++i) {
    std::string path = data_dir + "ql" + std::to_string(i) + ".qvl";
    if (!FileExists(path)) return path;
  }
}

std::string QuestionLibraryName(const std::string& path) {
  return ProfileFile::LoadOrEmpty(path).ReadString("Details", "Name", "Unknown");
}

void AppendToQuestionLibrary(const std::string& path, const TSurvey& survey,
                             const std::vector<int>& indexes, const SettingsStore& settings) {
  TSurvey library(settings);
  library.Load(path);
  for (int i : indexes) AppendPlainCopy(library, survey.Item(i));
  library.Save();
}

std::vector<std::string> ListResponseTemplates(const std::string& data_dir) {
  return SortedBareNames(data_dir, ".qvt");
}

std::vector<std::string> ListDisplayTemplates(const std::string& data_dir) {
  return SortedBareNames(data_dir, ".qvg");
}

}  // namespace quorvant
