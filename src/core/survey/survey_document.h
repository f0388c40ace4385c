// SurveyDocument: the open survey's life, apart from any window. It owns the
// survey, the recent-file list, the folder surveys were last saved to and the
// temporary files of the run, and carries New, Open, Save, Save As, Reopen and
// the "save changes?" question before the survey is replaced or the program
// ends. It speaks to the person through Prompts (errors) and
// SurveyFileDialogs (the "Confirm Save" box, the save-as name, "File Not
// Found"); a window that shows the survey hears of each replacement through
// SurveyDocumentView.
//
// A document made without dialogs (a command-line run) asks nobody: "Confirm
// Save" answers Cancel and no save-as name is chosen, so nothing is written
// that the caller did not ask for.
//
// Thread-safety: none; the document belongs to one thread.
#pragma once

#include <string>
#include <vector>

#include "core/shell/recent_files.h"
#include "core/survey/survey.h"

namespace quorvant {

class Prompts;
class SettingsStore;

enum class SaveAnswer { kYes, kNo, kCancel };

// The document's questions that are not prompts of the core.
class SurveyFileDialogs {
 public:
  virtual ~SurveyFileDialogs() = default;
  // "Confirm Save": "Your survey has not been saved. Would you like to save
  // it now?" with Yes, No and Cancel.
  virtual SaveAnswer ConfirmSave() = 0;
  // "Save Survey": the chosen name as typed (the extension may be missing),
  // or empty when cancelled.
  virtual std::string ChooseSurveyToSave(const std::string& dir,
                                         const std::string& initial_name) = 0;
  // "File Not Found" with the stop icon.
  virtual void FileNotFound(const std::string& text) = 0;
};

// What a window showing the document does when the open survey is replaced.
class SurveyDocumentView {
 public:
  virtual ~SurveyDocumentView() = default;
  // The survey is about to be cleared: let go of what belongs to it (its
  // response table).
  virtual void SurveyClosing() = 0;
  // The survey was cleared to a new untitled one: empty what showed it.
  virtual void SurveyCleared() = 0;
  // A survey file was loaded: open what belongs to it.
  virtual void SurveyLoaded() = 0;
  // Another survey now stands in place of the one before (the file opened,
  // or a new one when it could not be read): show it.
  virtual void SurveyReplaced() = 0;
};

class SurveyDocument {
 public:
  // The document keeps references to settings, prompts, and the dialogs and
  // view when given; they must outlive it.
  SurveyDocument(const SettingsStore& settings, Prompts& prompts,
                 SurveyFileDialogs* dialogs = nullptr, SurveyDocumentView* view = nullptr);
  SurveyDocument(const SurveyDocument&) = delete;
  SurveyDocument& operator=(const SurveyDocument&) = delete;

  TSurvey& Survey() { return survey_; }
  const TSurvey& Survey() const { return survey_; }
  const RecentFiles& Recent() const { return recent_; }
  // The folder the last survey was saved to ("LastDirSavedTo"), without a
  // trailing "/".
  const std::string& LastDirectory() const { return last_dir_; }
  const std::vector<std::string>& TemporaryFiles() const { return temp_files_; }

  // Reads the last folder and the recent-file list from the settings; writes
  // the recent-file list back.
  void ReadSettings(const SettingsStore& store);
  void WriteRecentFiles(SettingsStore& store) const;

  // Loads path in place of the open survey, which must have been cleared or
  // be new. A file that cannot be read is reported and leaves a new untitled
  // survey rather than a half-read one whose next Save would write over the
  // file; false then. A loaded file is offered under Reopen at once.
  bool Load(const std::string& path);

  // Asks "Confirm Save" when the survey is modified and saves on Yes. True
  // when the survey may be replaced: it was not modified, No was answered,
  // or it was saved; false on Cancel or a failed save, the survey and its
  // modified state kept.
  bool QuerySave();
  // As QuerySave, but only Yes lets the caller go on: for commands that need
  // the survey saved (publishing, downloading responses).
  bool RequireSave();

  // Saves to the survey's file, or through Save As for a survey without one.
  // False when Save As was cancelled or the file could not be written (the
  // error shown, the survey still modified).
  bool Save();
  // Asks for a name and saves there. Under its own name (or for an untitled
  // survey) the survey is saved in place; under another name a fresh copy is
  // written and opened in place of the survey. False when cancelled or the
  // file could not be written, the survey as it was.
  bool SaveAs();
  // Writes the survey, as it stands, to path and makes it the survey's file
  // (no fresh copy): the command line's "save --as" and conversions. False,
  // the error shown, when it cannot be written.
  bool WriteTo(const std::string& path, WriteDurability durability = WriteDurability::kDurable);

  // Replaces the survey by a new untitled one once QuerySave allowed it;
  // false when it did not.
  bool New();
  // Opens path in place of the survey once QuerySave allowed it; false when
  // it did not.
  bool Open(const std::string& path);
  // Opens the index-th recent file once QuerySave allowed it. A file no
  // longer there is reported and leaves the list. True when the survey or
  // the list changed.
  bool Reopen(int index);

  // Records a file to delete when the run ends.
  void AddTemporaryFile(const std::string& path);
  // Deletes every recorded temporary file and forgets them.
  void RemoveTemporaryFiles();

 private:
  // The survey's file goes to the head of the recent-file list.
  void RememberFile();
  bool SaveCurrent();
  bool SaveUnderChosenName();
  // Clears the survey to a new untitled one, telling the view.
  void Clear();
  void OpenInPlace(const std::string& path);

  const SettingsStore& settings_;
  Prompts& prompts_;
  SurveyFileDialogs* dialogs_;
  SurveyDocumentView* view_;
  TSurvey survey_;
  RecentFiles recent_;
  std::string last_dir_;
  std::vector<std::string> temp_files_;
};

}  // namespace quorvant
