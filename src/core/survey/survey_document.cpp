#include "core/survey/survey_document.h"

#include <filesystem>

#include "core/shell/atomic_file.h"
#include "core/shell/prompts.h"
#include "core/shell/settings_keys.h"
#include "core/survey/survey_copy.h"
#include "core/survey/survey_exception.h"

namespace quorvant {

SurveyDocument::SurveyDocument(const SettingsStore& settings, Prompts& prompts,
                               SurveyFileDialogs* dialogs, SurveyDocumentView* view)
    : settings_(settings), prompts_(prompts), dialogs_(dialogs), view_(view), survey_(settings) {}

void SurveyDocument::ReadSettings(const SettingsStore& store) {
  last_dir_ = ReadLastDirectory(store);
  recent_.Load(store);
}

void SurveyDocument::WriteRecentFiles(SettingsStore& store) const { recent_.Save(store); }

void SurveyDocument::RememberFile() {
  if (survey_.HasFile()) recent_.Add(survey_.FileName(), last_dir_);
}

bool SurveyDocument::Load(const std::string& path) {
  try {
    survey_.Load(path);
  } catch (const ESurveyException& e) {
    survey_.Clear();
    prompts_.ShowError(e.what());
    return false;
  }
  RememberFile();
  if (view_) view_->SurveyLoaded();
  return true;
}

bool SurveyDocument::QuerySave() {
  if (!survey_.Modified()) return true;
  switch (dialogs_ ? dialogs_->ConfirmSave() : SaveAnswer::kCancel) {
    case SaveAnswer::kNo:
      return true;
    case SaveAnswer::kCancel:
      return false;
    case SaveAnswer::kYes:
      break;
  }
  return Save();
}

bool SurveyDocument::RequireSave() {
  if (!survey_.Modified()) return true;
  if (!dialogs_ || dialogs_->ConfirmSave() != SaveAnswer::kYes) return false;
  return Save();
}

bool SurveyDocument::Save() {
  const bool saved = SaveCurrent();
  RememberFile();
  return saved;
}

bool SurveyDocument::SaveAs() {
  const bool saved = SaveUnderChosenName();
  RememberFile();
  return saved;
}

bool SurveyDocument::SaveCurrent() {
  if (!survey_.HasFile()) return SaveUnderChosenName();
  try {
    survey_.Save();
  } catch (const ESurveyException& e) {
    prompts_.ShowError(e.what());
    return false;
  }
  return true;
}

bool SurveyDocument::SaveUnderChosenName() {
  const std::string chosen =
      dialogs_ ? dialogs_->ChooseSurveyToSave(last_dir_, survey_.FileName()) : std::string();
  if (chosen.empty()) return false;
  const std::string path = WithSurveyExtension(chosen);
  bool copied = false;
  try {
    copied = quorvant::SaveSurveyAs(survey_, path, settings_);
  } catch (const ESurveyException& e) {
    prompts_.ShowError(e.what());
    return false;
  }
  if (copied) {
    Clear();
    Load(path);
    if (view_) view_->SurveyReplaced();
  }
  last_dir_ = DirectoryOf(path);
  return true;
}

bool SurveyDocument::WriteTo(const std::string& path, WriteDurability durability) {
  try {
    survey_.SaveAs(path, durability);
  } catch (const ESurveyException& e) {
    prompts_.ShowError(e.what());
    return false;
  }
  return true;
}

void SurveyDocument::Clear() {
  if (view_) view_->SurveyClosing();
  survey_.Clear();
  if (view_) view_->SurveyCleared();
}

void SurveyDocument::OpenInPlace(const std::string& path) {
  RememberFile();
  Clear();
  Load(path);
  if (view_) view_->SurveyReplaced();
}

bool SurveyDocument::New() {
  if (!QuerySave()) return false;
  RememberFile();
  Clear();
  return true;
}

bool SurveyDocument::Open(const std::string& path) {
  if (!QuerySave()) return false;
  OpenInPlace(path);
  return true;
}

// The entry's full path is used rather than its shortened caption, which
// would name another file when the folder differs only in letter case.
bool SurveyDocument::Reopen(int index) {
  if (index < 0 || index >= static_cast<int>(recent_.Files().size())) return false;
  const std::string path = recent_.Files()[static_cast<size_t>(index)];
  if (!QuerySave()) return false;
  if (FileExists(path)) {
    OpenInPlace(path);
    return true;
  }
  if (dialogs_) {
    dialogs_->FileNotFound(path + " is no longer there.  It may have been deleted or moved.");
  }
  recent_.Remove(path);
  return true;
}

void SurveyDocument::AddTemporaryFile(const std::string& path) { temp_files_.push_back(path); }

void SurveyDocument::RemoveTemporaryFiles() {
  for (const std::string& file : temp_files_) {
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
  }
  temp_files_.clear();
}

}  // namespace quorvant
