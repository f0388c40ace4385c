// TQVXSelDir ("Select Directory"): picks or creates a directory, the data
// directory above all. A "Directory &Name:" field over a directory tree, the
// greyed files of the chosen directory and a "D&rive:" box of the mounted
// volumes.
//
// Created once at start-up and reused. OK takes an existing directory; a
// missing one is created (one level) after "Confirm Create", and a failure
// is reported in "Directory Error" while the dialog stays open
// (core/shell/directory_choice.h).
#pragma once

#include <QDialog>

class QComboBox;
class QFileSystemModel;
class QLineEdit;
class QListView;
class QTreeView;

namespace quorvant::app {

class WindowDialogs;

class TQVXSelDir : public QDialog {
  Q_OBJECT

 public:
  TQVXSelDir(WindowDialogs& dialogs, QWidget* parent);

  // Opens the tree at dir (or the nearest folder above it that exists) and
  // puts that folder into the name field.
  void SetDirectory(const QString& dir);
  // The name field: after OK, an existing directory.
  QString Directory() const;

  void accept() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateModels();
  void ShowInTree(const QString& dir);
  void TreeChanged();
  void DriveChosen(int index);

  WindowDialogs& dialogs_;
  QLineEdit* eDirName_ = nullptr;
  QTreeView* tvDirectories_ = nullptr;
  QListView* lbFiles_ = nullptr;
  QComboBox* cmbDrive_ = nullptr;
  // Made on first use, so that start-up does not watch the file system.
  QFileSystemModel* directories_ = nullptr;
  QFileSystemModel* files_ = nullptr;
  bool follow_current_ = false;
};

}  // namespace quorvant::app
