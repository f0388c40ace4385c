// QuestionLibraries: what the question library dialog works on. It lists the
// libraries of the data directory by file and name, keeps the one library
// shown (loaded as a survey) and carries out the dialog's commands on it;
// every change reaches the library's file at once.
//
// A library that could not be read is not shown (ShownPath() is empty), so
// no later command can write over its file. Failures are reported through
// the prompts with the survey file's message; the object stays usable.
//
// Holds references to the settings store and the prompts, which must
// outlive it. Thread-safety: none.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/survey/editing_commands.h"

namespace quorvant {

class Prompts;
class SettingsStore;
class TSurvey;

class QuestionLibraries {
 public:
  // data_dir ends in "/". The lists start empty; call Rebuild().
  QuestionLibraries(const SettingsStore& settings, Prompts& prompts, std::string data_dir);
  ~QuestionLibraries();

  // Refills the file and name lists from the data directory (directory
  // order; "Unknown" for a library without a name).
  void Rebuild();
  const std::vector<std::string>& Files() const { return files_; }
  const std::vector<std::string>& Names() const { return names_; }

  // Shows the library at path. False (the message shown, no library shown)
  // when it cannot be read.
  bool Open(const std::string& path);
  // Shows the library at path when that file exists. Returns the position
  // in the name list of the first entry whose name equals the library's
  // name without regard to case, -1 when none does or nothing was shown.
  int OpenLast(const std::string& path);
  // Shows the library at that position of the lists. False (the message
  // shown, no library shown) when it cannot be read.
  bool Choose(int position);

  const TSurvey& Library() const { return *library_; }
  // The file of the library shown; empty when none is.
  const std::string& ShownPath() const { return shown_; }
  // The position of the shown library in the lists, -1 when none is.
  int ShownPosition() const;

  // Creates an empty library called `name` in the next free "ql" + i +
  // ".qvl" file and shows it. A blank name, or one already listed in any
  // letter case, is refused with a message. Returns the new library's
  // position, -1 when nothing was created.
  int Create(const std::string& name);
  // Asks, then deletes the shown library's file; afterwards the first
  // remaining library is shown, or none. True when a file was deleted.
  bool DeleteShown();

  // Overwrites item `index` of the shown library with `fields` and saves
  // the library. False when it could not be saved (the message shown).
  bool UpdateItem(int index, const ItemFields& fields);
  // Asks, then removes the selected items (increasing indexes) and saves the
  // library. False when declined or not saved.
  bool DeleteItems(const std::vector<int>& selected);
  // Appends plain copies of the selected items, in list order, to survey.
  void AppendTo(TSurvey& survey, const std::vector<int>& selected) const;

 private:
  bool Save();
  void ShowNone();

  const SettingsStore& settings_;
  Prompts& prompts_;
  std::string data_dir_;
  std::vector<std::string> files_;
  std::vector<std::string> names_;
  std::unique_ptr<TSurvey> library_;
  std::string shown_;
};

}  // namespace quorvant
