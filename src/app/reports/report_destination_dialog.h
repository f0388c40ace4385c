// TQVXDestination ("Report Destination"): whether the analysis goes to the
// printer or to web pages, and the directory for the pages. The directory
// edit, its label and the browse button take input only for web pages; OK
// needs a directory for them. The browse button opens the directory
// chooser on the edit's directory.
//
// Created for one use; the main window hands in the directory it remembers
// and takes the edit's text back after OK.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace quorvant::app {

class TQVXSelDir;

class TQVXDestination : public QDialog {
  Q_OBJECT

 public:
  TQVXDestination(TQVXSelDir& chooser, const QString& directory, QWidget* parent);

  bool ToWebPage() const;
  QString Directory() const;

 private:
  void UpdateStates();
  void BrowseDirectory();

  TQVXSelDir& chooser_;
  QRadioButton* rbToPrinter_ = nullptr;
  QRadioButton* rbToWebPage_ = nullptr;
  QLabel* lblDirectoryForPage_ = nullptr;
  QLineEdit* eWebDirectory_ = nullptr;
  QPushButton* btnBrowseDir_ = nullptr;
  QPushButton* ok_ = nullptr;
};

}  // namespace quorvant::app
