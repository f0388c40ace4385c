// The windows' own modal questions that are not prompts of the core: the
// "Confirm Save" box, the file dialogs, the "File Not Found" box and the
// directory chooser's "Confirm Create" and "Directory Error" boxes; and the
// dialogs of the e-mail list managers that the windows open. The program
// uses StandardWindowDialogs; tests substitute scripted answers.
#pragma once

#include <QString>

#include "app/emaillists/email_list_dialogs.h"
#include "core/survey/survey_document.h"

class QPrinter;
class QWidget;

namespace quorvant::app {

using quorvant::SaveAnswer;

class WindowDialogs {
 public:
  virtual ~WindowDialogs() = default;
  // "Confirm Save": "Your survey has not been saved. Would you like to save
  // it now?" with Yes, No and Cancel.
  virtual SaveAnswer ConfirmSave(QWidget* parent) = 0;
  // "Open a Survey": an existing survey file, or empty when cancelled.
  virtual QString ChooseSurveyToOpen(QWidget* parent, const QString& dir) = 0;
  // "Save Survey": the chosen name, or empty when cancelled.
  virtual QString ChooseSurveyToSave(QWidget* parent, const QString& dir,
                                     const QString& initial_name) = 0;
  // "File Not Found" with the stop icon.
  virtual void FileNotFound(QWidget* parent, const QString& text) = 0;
  // "Select an Email List": an existing "*.eml" file, or empty when
  // cancelled.
  virtual QString ChooseEmailList(QWidget* parent, const QString& dir) = 0;
  // "Confirm Create" with Yes and No; true for Yes.
  virtual bool ConfirmCreate(QWidget* parent, const QString& text) = 0;
  // "Directory Error" with the stop icon.
  virtual void DirectoryError(QWidget* parent, const QString& text) = 0;
  // "Select File to Import": a text file, or empty when cancelled.
  virtual QString ChooseImportFile(QWidget* parent, const QString& dir) = 0;
  // "Create New Display Template": a name to create, asking before an
  // existing file is chosen; empty when cancelled.
  virtual QString ChooseNewDisplayTemplate(QWidget* parent, const QString& dir) = 0;
  // "Export Responses": a file name to write, proposed as `initial` in dir,
  // of one of the export file types (a name typed without extension gets
  // the chosen type's); *labels is set when the type chosen writes option
  // texts instead of codes. Empty when cancelled.
  virtual QString ChooseExportTable(QWidget* parent, const QString& dir, const QString& initial,
                                    bool* labels) = 0;
  // The print dialog on printer, without a page range, offering
  // "Selection" when asked; true on OK, the choices set on printer.
  virtual bool ChoosePrinter(QWidget* parent, QPrinter& printer, bool offer_selection) = 0;
  // The page setup dialog on printer.
  virtual void SetUpPrinter(QWidget* parent, QPrinter& printer) = 0;
  // The file and printer dialogs that every e-mail list manager opened from
  // a window is handed.
  virtual EmailListDialogs& EmailLists() = 0;
};

class StandardWindowDialogs : public WindowDialogs {
 public:
  SaveAnswer ConfirmSave(QWidget* parent) override;
  QString ChooseSurveyToOpen(QWidget* parent, const QString& dir) override;
  QString ChooseSurveyToSave(QWidget* parent, const QString& dir,
                             const QString& initial_name) override;
  void FileNotFound(QWidget* parent, const QString& text) override;
  QString ChooseEmailList(QWidget* parent, const QString& dir) override;
  bool ConfirmCreate(QWidget* parent, const QString& text) override;
  void DirectoryError(QWidget* parent, const QString& text) override;
  QString ChooseImportFile(QWidget* parent, const QString& dir) override;
  QString ChooseNewDisplayTemplate(QWidget* parent, const QString& dir) override;
  QString ChooseExportTable(QWidget* parent, const QString& dir, const QString& initial,
                            bool* labels) override;
  bool ChoosePrinter(QWidget* parent, QPrinter& printer, bool offer_selection) override;
  void SetUpPrinter(QWidget* parent, QPrinter& printer) override;
  EmailListDialogs& EmailLists() override { return email_lists_; }

 private:
  StandardEmailListDialogs email_lists_;
};

}  // namespace quorvant::app
