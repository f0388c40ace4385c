#include "core/libraries/response_template.h"

#include "core/shell/atomic_file.h"
#include "core/shell/profile_file.h"

namespace quorvant {
namespace {

constexpr char kDetails[] = "Details";
constexpr char kValues[] = "Values";

}  // namespace

TResponseTemplate ReadResponseTemplate(const std::string& path) {
  const ProfileFile file = ProfileFile::LoadOrEmpty(path);
  TResponseTemplate result;
  result.title = file.ReadString(kDetails, "Title", "Unknown");
  for (const std::string& key : file.KeysOf(kValues)) {
    result.values.push_back(file.ReadString(kValues, key, "Unknown"));
  }
  return result;
}

void WriteResponseTemplate(const std::string& path, const TResponseTemplate& response_template,
                           Env& env) {
  ProfileFile file = ProfileFile::LoadOrEmpty(path);
  file.WriteString(kDetails, "Title", response_template.title);
  file.EraseSection(kValues);
  for (size_t i = 0; i < response_template.values.size(); ++i) {
    file.WriteString(kValues, std::to_string(i + 1), response_template.values[i]);
  }
  file.Save(path, WriteDurability::kDurable, env);
}

std::string FreeResponseTemplateName(const std::string& data_dir) {
  for (int i = 0;; ++i) {
    std::string name = "rtemp" + std::to_string(i) + ".qvt";
    if (!FileExists(data_dir + name)) return name;
  }
}

void CreateDefaultResponseTemplates(const std::string& data_dir) {
  const std::pair<const char*, TResponseTemplate> defaults[] = {
      {"yesno.qvt", {"Yes / No", {"Yes", "No", "Don't Know"}}},
      {"agree.qvt",
       {"Agree / Disagree",
        {"Strongly Agree", "Agree", "Neutral", "Disagree", "Strongly Disagree"}}}};
  for (const auto& [name, response_template] : defaults) {
    const std::string path = data_dir + name;
    if (FileExists(path)) continue;
    try {
      WriteResponseTemplate(path, response_template);
    } catch (const EProfileWriteError&) {
    }
  }
}

}  // namespace quorvant
