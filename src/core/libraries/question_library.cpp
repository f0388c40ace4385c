#include "core/libraries/question_library.h"

#include <algorithm>
#include <filesystem>

#include "core/libraries/library_files.h"
#include "core/shell/atomic_file.h"
#include "core/shell/prompts.h"
#include "core/shell/text_helpers.h"
#include "core/survey/survey.h"
#include "core/survey/survey_copy.h"
#include "core/survey/survey_exception.h"

namespace quorvant {

QuestionLibraries::QuestionLibraries(const SettingsStore& settings, Prompts& prompts,
                                     std::string data_dir)
    : settings_(settings),
      prompts_(prompts),
      data_dir_(std::move(data_dir)),
      library_(std::make_unique<TSurvey>(settings)) {}

QuestionLibraries::~QuestionLibraries() = default;

void QuestionLibraries::Rebuild() {
  files_ = ListQuestionLibraries(data_dir_);
  names_.clear();
  names_.reserve(files_.size());
  for (const std::string& file : files_) names_.push_back(QuestionLibraryName(file));
}

void QuestionLibraries::ShowNone() {
  library_ = std::make_unique<TSurvey>(settings_);
  shown_.clear();
}

bool QuestionLibraries::Open(const std::string& path) {
  auto loaded = std::make_unique<TSurvey>(settings_);
  try {
    loaded->Load(path);
  } catch (const ESurveyException& e) {
    prompts_.ShowError(e.what());
    ShowNone();
    return false;
  }
  library_ = std::move(loaded);
  shown_ = path;
  return true;
}

int QuestionLibraries::OpenLast(const std::string& path) {
  if (!FileExists(path) || !Open(path)) return -1;
  for (size_t i = 0; i < names_.size(); ++i) {
    if (EqualsIgnoreCase(names_[i], library_->Name())) return static_cast<int>(i);
  }
  return -1;
}

bool QuestionLibraries::Choose(int position) {
  if (position < 0 || position >= static_cast<int>(files_.size())) return false;
  return Open(files_[static_cast<size_t>(position)]);
}

int QuestionLibraries::ShownPosition() const {
  if (shown_.empty()) return -1;
  const auto it = std::find(files_.begin(), files_.end(), shown_);
  return it == files_.end() ? -1 : static_cast<int>(it - files_.begin());
}

int QuestionLibraries::Create(const std::string& name) {
  if (TrimControls(name).empty()) {
    prompts_.ShowError("Please enter a name for the new library.");
    return -1;
  }
  for (const std::string& listed : names_) {
    if (EqualsIgnoreCase(listed, name)) {
      prompts_.ShowError("The name " + name + " is already in use.  Please try another.");
      return -1;
    }
  }
  auto created = std::make_unique<TSurvey>(settings_);
  created->SetName(name);
  const std::string path = FreeQuestionLibraryPath(data_dir_);
  try {
    created->SaveAs(path);
  } catch (const ESurveyException& e) {
    prompts_.ShowError(e.what());
    return -1;
  }
  library_ = std::move(created);
  shown_ = path;
  Rebuild();
  return ShownPosition();
}

bool QuestionLibraries::DeleteShown() {
  const int position = ShownPosition();
  if (position < 0) return false;
  const std::string& name = names_[static_cast<size_t>(position)];
  if (!prompts_.ConfirmTitled("Confirm Library Delete",
                              "Are you sure you want to delete the library " + name + "?", false)) {
    return false;
  }
  std::error_code error;
  const bool removed = std::filesystem::remove(shown_, error);
  if (!removed) prompts_.ShowError("The library file " + shown_ + " could not be deleted.");
  Rebuild();
  if (files_.empty()) {
    ShowNone();
  } else {
    Choose(0);
  }
  return removed;
}

bool QuestionLibraries::Save() {
  try {
    library_->Save();
  } catch (const ESurveyException& e) {
    prompts_.ShowError(e.what());
    return false;
  }
  return true;
}

bool QuestionLibraries::UpdateItem(int index, const ItemFields& f) {
  if (shown_.empty() || index < 0 || index >= library_->ItemCount()) return false;
  UpdateItemFields(*library_, index, f);
  return Save();
}

bool QuestionLibraries::DeleteItems(const std::vector<int>& selected) {
  if (shown_.empty() || selected.empty()) return false;
  if (!prompts_.ConfirmTitled("Confirm Delete", DeleteItemsQuestion(selected.size()), true)) {
    return false;
  }
  for (auto it = selected.rbegin(); it != selected.rend(); ++it) {
    if (*it >= 0 && *it < library_->ItemCount()) library_->DeleteItem(*it);
  }
  return Save();
}

void QuestionLibraries::AppendTo(TSurvey& survey, const std::vector<int>& selected) const {
  for (int i : selected) {
    if (i >= 0 && i < library_->ItemCount()) AppendPlainCopy(survey, library_->Item(i));
  }
}

}  // namespace quorvant
