#include "core/libraries/library_files.h"

#include <algorithm>
#include <filesystem>

#include "core/shell/profile_file.h"
#include "core/shell/text_helpers.h"
#include "core/survey/survey.h"
#include "core/survey/survey_copy.h"

namespace quorvant {
namespace {

// Regular files in dir whose extension is ext in any letter case.
std::vector<std::filesystem::path> FilesWithExtension(const std::string& dir,
                                                      std::string_view ext) {
  std::vector<std::filesystem::path> found;
  std::error_code error;
  for (std::filesystem::directory_iterator it(dir, error), end; !error && it != end;
       it.increment(error)) {
    std::error_code type_error;
    if (!it->is_regular_file(type_error)) continue;
    if (EqualsIgnoreCase(it->path().extension().string(), ext)) found.push_back(it->path());
  }
  return found;
}

// Bare names of those files, sorted without regard to letter case.
std::vector<std::string> SortedBareNames(const std::string& dir, std::string_view ext) {
  std::vector<std::string> names;
  for (const auto& p : FilesWithExtension(dir, ext)) names.push_back(p.filename().string());
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    return ToLowerAscii(a) < ToLowerAscii(b);
  });
  return names;
}

}  // namespace

std::vector<std::string> ListQuestionLibraries(const std::string& data_dir) {
  std::vector<std::string> paths;
  for (const auto& p : FilesWithExtension(data_dir, ".qvl")) paths.push_back(p.string());
  return paths;
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
