#include "core/libraries/template_manager.h"

#include <filesystem>

#include "core/libraries/library_files.h"
#include "core/libraries/response_template.h"
#include "core/shell/atomic_file.h"
#include "core/shell/profile_file.h"
#include "core/shell/prompts.h"
#include "core/shell/text_helpers.h"

namespace quorvant {
namespace {

std::string BareName(const std::string& path) {
  return std::filesystem::path(path).filename().string();
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += '\n';
    text += lines[i];
  }
  return text;
}

}  // namespace

std::string WithDisplayTemplateExtension(const std::string& chosen) {
  const std::string ext = std::filesystem::path(chosen).extension().string();
  return EqualsIgnoreCase(ext, ".qvg") ? chosen : chosen + ".qvg";
}

std::vector<std::string> ContentLines(const std::string& text) {
  std::vector<std::string> lines;
  if (text.empty()) return lines;
  size_t start = 0;
  for (;;) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    size_t cut = end > start && text[end - 1] == '\r' ? end - 1 : end;
    lines.push_back(text.substr(start, cut - start));
    start = end + 1;
    if (start == text.size()) break;
  }
  return lines;
}

TemplateManager::TemplateManager(Prompts& prompts, std::string data_dir)
    : prompts_(prompts), data_dir_(std::move(data_dir)) {}

void TemplateManager::ChooseType(int type) {
  WriteBack();
  type_ = type == kDisplayTemplates ? kDisplayTemplates : kResponseTemplates;
  paths_ = FilesInDirectoryOrder(data_dir_, type_ == kDisplayTemplates ? ".qvg" : ".qvt");
  names_.clear();
  for (const std::string& path : paths_) {
    names_.push_back(type_ == kDisplayTemplates ? BareName(path)
                                                : ReadResponseTemplate(path).title);
  }
  Show(paths_.empty() ? -1 : 0);
}

void TemplateManager::Choose(int position) {
  WriteBack();
  Show(position);
}

void TemplateManager::Show(int position) {
  contents_.clear();
  edited_ = false;
  unreadable_ = false;
  shown_type_ = type_;
  shown_ = position >= 0 && position < static_cast<int>(paths_.size()) ? position : -1;
  if (shown_ < 0) return;
  const std::string& path = paths_[static_cast<size_t>(shown_)];
  if (type_ == kResponseTemplates) {
    contents_ = JoinLines(ReadResponseTemplate(path).values);
    return;
  }
  const std::optional<std::string> text = ReadWholeFile(path);
  if (!text) {
    prompts_.ShowError("Could not load display template for file " + path);
    // Nothing typed into the empty box may replace a file that could not
    // be read; deleting it stays possible.
    unreadable_ = true;
    return;
  }
  contents_ = *text;
}

void TemplateManager::SetContents(std::string contents) {
  contents_ = std::move(contents);
  edited_ = true;
}

void TemplateManager::WriteBack() {
  if (!edited_) return;
  edited_ = false;
  if (unreadable_ || shown_ < 0 || shown_ >= static_cast<int>(paths_.size()) ||
      shown_type_ != type_) {
    return;
  }
  if (shown_type_ == kResponseTemplates) {
    WriteBackResponseTemplate();
  } else {
    WriteBackDisplayTemplate();
  }
}

void TemplateManager::WriteBackResponseTemplate() {
  const size_t i = static_cast<size_t>(shown_);
  try {
    WriteResponseTemplate(paths_[i], {names_[i], ContentLines(contents_)});
  } catch (const EProfileWriteError& e) {
    prompts_.ShowError(e.what());
  }
}

void TemplateManager::WriteBackDisplayTemplate() {
  if (!WriteFileAtomically(paths_[static_cast<size_t>(shown_)], contents_)) {
    prompts_.ShowError("Could not update Display Template");
  }
}

int TemplateManager::CreateResponseTemplate(const std::string& name) {
  WriteBack();
  if (TrimControls(name).empty()) {
    prompts_.ShowError("Please enter a name for the new template.");
    return -1;
  }
  for (const std::string& title : names_) {
    if (title == name) {
      prompts_.ShowError(name + " is already in use, please select " + "another name");
      return -1;
    }
  }
  const std::string path = data_dir_ + FreeResponseTemplateName(data_dir_);
  try {
    WriteResponseTemplate(path, {name, {}});
  } catch (const EProfileWriteError&) {
    prompts_.ShowError("The template file could not be created.");
    return -1;
  }
  paths_.push_back(path);
  names_.push_back(name);
  Show(static_cast<int>(paths_.size()) - 1);
  return shown_;
}

int TemplateManager::CreateDisplayTemplate(const std::string& chosen_path) {
  WriteBack();
  const std::string path = WithDisplayTemplateExtension(chosen_path);
  if (FileExists(path)) {
    prompts_.ShowError("A display template with the name " + path +
                       " already exists.  Please select another name.");
    return -1;
  }
  if (!WriteFileAtomically(path, "")) {
    prompts_.ShowError("An error occurred attempting to write the new template to disk");
    return -1;
  }
  paths_.push_back(path);
  names_.push_back(BareName(path));
  Show(static_cast<int>(paths_.size()) - 1);
  return shown_;
}

bool TemplateManager::DeleteShown() {
  if (shown_ < 0) return false;
  const size_t i = static_cast<size_t>(shown_);
  const std::string name = names_[i];
  if (!prompts_.Confirm("Are you sure you want to delete the template named " + name, false)) {
    return false;
  }
  edited_ = false;
  std::error_code error;
  const bool removed = std::filesystem::remove(paths_[i], error);
  if (!removed) {
    prompts_.ShowError("An error occurred when attempting to delete " + name +
                       ".  File not deleted.");
  }
  ChooseType(type_);
  return removed;
}

}  // namespace quorvant
