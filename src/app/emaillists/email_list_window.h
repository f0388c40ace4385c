// TQVXEList ("Email List Manager - " + file name): the non-modal window in
// which an e-mail list is created, opened, edited, sorted, searched,
// imported, exported and printed. Several may be open at once, each with a
// list of its own; each frees itself when closed and remembers its
// placement under "Email List Window".
//
// The work is done by the list (core/emaillists); the window displays and
// forwards. Windows on one file keep each other up to date: a change made in
// one is read by the others at once, and a window that is activated reads
// what other programs changed. A cell still being edited is stored before
// anything reloads the grid and before the window closes. An error while opening or creating a list
// shows "The following internal error occurred: " with its message and closes the window.
#pragma once

#include <QMainWindow>
#include <QPrinter>
#include <memory>
#include <string>

#include "app/shell/action_registry.h"
#include "core/emaillists/email_list.h"

class QAction;
class QLabel;
class QLineEdit;
class QTableView;

namespace quorvant {
class Prompts;
class SettingsStore;
}  // namespace quorvant

namespace quorvant::app {

class EmailListDialogs;
class EmailListModel;

class TQVXEList : public QMainWindow {
  Q_OBJECT

 public:
  // Places the window; the list is opened by one of the calls below.
  TQVXEList(SettingsStore& settings, Prompts& prompts, EmailListDialogs& dialogs,
            std::string data_dir, QWidget* parent = nullptr);
  ~TQVXEList() override;

  // The survey's list when its file exists, else "default.eml" of the data
  // directory, created when absent. False when the window closed instead.
  bool OpenForSurvey(const std::string& notification_file);
  // Opens an existing list / creates one (replacing a file of that name).
  // False when the window closed (an error) or, for a creation the engine
  // refused, when no list is open.
  bool OpenList(const std::string& path);
  bool CreateList(const std::string& path);

  TEmailList& List() { return list_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool event(QEvent* event) override;

 private:
  // email_list_window_actions.cpp
  void setupActions();
  QAction* MakeAction(const char* name, const QString& text, const QString& hint,
                      void (TQVXEList::*slot)());
  void OpenHelp(const QString& page);
  // email_list_window.cpp
  void BuildLayout();
  void RestoreWindowPlacement();
  void Fail(const std::string& message);
  void AfterOpening();
  void RefreshLabels();
  void RefreshCount();
  void MakeCurrent(int row, int column = -1);
  void CommitEditor();
  void Reread();
  void Announce();
  std::string ListDirectory() const;
  void NewList();
  void OpenListCommand();
  void SaveAs();
  void Import();
  void Export();
  void Print();
  void PrintSetup();
  void InsertNewRecord();
  void DeleteSelected();
  void Find();
  void SortBy(int column);

  SettingsStore& settings_;
  Prompts& prompts_;
  EmailListDialogs& dialogs_;
  std::string data_dir_;
  TEmailList list_;
  std::unique_ptr<QPrinter> printer_;

  ActionRegistry actions_{this};
  EmailListModel* model_ = nullptr;
  QTableView* dbgEMail_ = nullptr;
  QLabel* lblFind_ = nullptr;
  QLineEdit* eFind_ = nullptr;
  QLabel* pnlCount_ = nullptr;
  QLabel* pnlFind_ = nullptr;
};

}  // namespace quorvant::app
