// The modal questions of the e-mail list manager: its file dialogs and the
// printer dialogs. The program uses StandardEmailListDialogs; tests
// substitute scripted answers. Every chooser returns an empty name when it
// was cancelled.
#pragma once

#include <QString>

class QPrinter;
class QWidget;

namespace quorvant::app {

struct ExportChoice {
  QString path;
  bool text = false;  // the "ASCII Text" filter was chosen, not the comma-separated one
};

class EmailListDialogs {
 public:
  virtual ~EmailListDialogs() = default;
  // "Save Email List", starting empty in dir, asking before it overwrites.
  virtual QString ChooseNewList(QWidget* parent, const QString& dir) = 0;
  // "Open an Email List" in dir; a name that does not exist may be chosen
  // after the dialog has asked whether to create it.
  virtual QString ChooseListToOpen(QWidget* parent, const QString& dir) = 0;
  // "Save Email List", starting with the current file in its directory.
  virtual QString ChooseSaveAsName(QWidget* parent, const QString& current) = 0;
  // "Open an Email List" with the comma-separated filter: an existing file.
  virtual QString ChooseImportFile(QWidget* parent, const QString& dir) = 0;
  // "Export the current EMail List", asking before it overwrites.
  virtual ExportChoice ChooseExportFile(QWidget* parent, const QString& dir) = 0;
  // The print dialog; true for OK, with the printer set up as chosen.
  virtual bool ChoosePrinter(QWidget* parent, QPrinter& printer) = 0;
  // The printer setup dialog.
  virtual void SetUpPrinter(QWidget* parent, QPrinter& printer) = 0;
};

class StandardEmailListDialogs : public EmailListDialogs {
 public:
  QString ChooseNewList(QWidget* parent, const QString& dir) override;
  QString ChooseListToOpen(QWidget* parent, const QString& dir) override;
  QString ChooseSaveAsName(QWidget* parent, const QString& current) override;
  QString ChooseImportFile(QWidget* parent, const QString& dir) override;
  ExportChoice ChooseExportFile(QWidget* parent, const QString& dir) override;
  bool ChoosePrinter(QWidget* parent, QPrinter& printer) override;
  void SetUpPrinter(QWidget* parent, QPrinter& printer) override;
};

}  // namespace quorvant::app
