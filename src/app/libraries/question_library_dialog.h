// TQVXql ("Question Library"): the question libraries of the data
// directory. It shows one library's items, creates and deletes libraries,
// edits and deletes library items, and inserts the selected items at the
// end of the open survey. The work is done by QuestionLibraries; every
// change reaches the library file at once, so closing never asks to save.
// Remembers its position and the library shown under "Question Library".
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "core/libraries/question_library.h"

class QComboBox;
class QListView;
class QPushButton;

namespace quorvant {
class Prompts;
class SettingsStore;
class SurveyEditing;
class TSurvey;
}  // namespace quorvant

namespace quorvant::app {

class QuestionListModel;
class TQVXHeader;
class TQVXQuestion;

class TQVXql : public QDialog {
  Q_OBJECT

 public:
  // `survey` and `editing` are the open survey and its editing commands;
  // the editors are the main window's long-lived ones;
  // `rebuild_library_menu` runs after a library is created or deleted.
  TQVXql(SettingsStore& settings, Prompts& prompts, std::string data_dir, TSurvey& survey,
         SurveyEditing& editing, TQVXQuestion& questions, TQVXHeader& headers,
         std::function<void()> rebuild_library_menu, QWidget* parent);

  const QuestionLibraries& Libraries() const { return libraries_; }
  void done(int result) override;

 private:
  void FillNames();
  void FillItems(const std::vector<int>& select = {});
  void UpdateButtons();
  std::vector<int> SelectedItems() const;
  void ChooseLibrary(int position);
  void CreateLibrary();
  void DeleteLibrary();
  void EditItem();
  void DeleteItems();
  void InsertItems();

  SettingsStore& settings_;
  Prompts& prompts_;
  TSurvey& survey_;
  SurveyEditing& editing_;
  TQVXQuestion& questions_;
  TQVXHeader& headers_;
  std::function<void()> rebuild_library_menu_;
  QuestionLibraries libraries_;

  QComboBox* cmbLibraryName_ = nullptr;
  QPushButton* btnNewLibrary_ = nullptr;
  QPushButton* btnDeleteLibrary_ = nullptr;
  QListView* lbQuestions_ = nullptr;
  QuestionListModel* model_ = nullptr;
  QPushButton* btnInsert_ = nullptr;
  QPushButton* btnEditItem_ = nullptr;
  QPushButton* btnDeleteItem_ = nullptr;
};

}  // namespace quorvant::app
