#include "app/shell/window_dialogs.h"

#include <algorithm>

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>

namespace quorvant::app {
namespace {

const QString kSurveyFilter = QStringLiteral("Quorvant Files (*.qvx)");

}  // namespace

SaveAnswer StandardWindowDialogs::ConfirmSave(QWidget* parent) {
  const auto button = QMessageBox::question(
      parent, "Confirm Save", "Your survey has not been saved. Would you like to save it now?",
      QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
  if (button == QMessageBox::Yes) return SaveAnswer::kYes;
  return button == QMessageBox::No ? SaveAnswer::kNo : SaveAnswer::kCancel;
}

QString StandardWindowDialogs::ChooseSurveyToOpen(QWidget* parent, const QString& dir) {
  return QFileDialog::getOpenFileName(parent, "Open a Survey", dir, kSurveyFilter);
}

QString StandardWindowDialogs::ChooseSurveyToSave(QWidget* parent, const QString& dir,
                                                  const QString& initial_name) {
  const QString start = initial_name.contains('/') ? initial_name : dir + "/" + initial_name;
  return QFileDialog::getSaveFileName(parent, "Save Survey", start, kSurveyFilter);
}

void StandardWindowDialogs::FileNotFound(QWidget* parent, const QString& text) {
  QMessageBox::critical(parent, "File Not Found", text);
}

QString StandardWindowDialogs::ChooseEmailList(QWidget* parent, const QString& dir) {
  return QFileDialog::getOpenFileName(parent, "Select an Email List", dir, "Email List (*.eml)");
}

bool StandardWindowDialogs::ConfirmCreate(QWidget* parent, const QString& text) {
  return QMessageBox::question(parent, "Confirm Create", text, QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::Yes) == QMessageBox::Yes;
}

void StandardWindowDialogs::DirectoryError(QWidget* parent, const QString& text) {
  QMessageBox::critical(parent, "Directory Error", text);
}

QString StandardWindowDialogs::ChooseImportFile(QWidget* parent, const QString& dir) {
  return QFileDialog::getOpenFileName(parent, "Select File to Import", dir,
                                      "Text Files (*.txt);;All Files (*)");
}

QString StandardWindowDialogs::ChooseExportTable(QWidget* parent, const QString& dir,
                                                 const QString& initial, bool* labels) {
  struct Type {
    const char* filter;
    const char* extension;
    bool labels;
  };
  static const Type kTypes[] = {
      {"dBase Files (*.dbf)", ".dbf", false},
      {"CSV Files, codes (*.csv)", ".csv", false},
      {"CSV Files, option texts (*.csv)", ".csv", true},
      {"Excel Workbooks, codes (*.xlsx)", ".xlsx", false},
      {"Excel Workbooks, option texts (*.xlsx)", ".xlsx", true},
      {"SPSS Data Files (*.sav)", ".sav", false},
      {"Stata Data Files (*.dta)", ".dta", false},
  };
  QStringList filters;
  for (const Type& t : kTypes) filters << t.filter;
  QString selected = filters.front();
  QString name = QFileDialog::getSaveFileName(parent, "Export Responses", dir + "/" + initial,
                                              filters.join(";;"), &selected);
  const Type& type = kTypes[std::max<qsizetype>(0, filters.indexOf(selected))];
  *labels = type.labels;
  if (!name.isEmpty() && QFileInfo(name).suffix().isEmpty()) name += type.extension;
  return name;
}

QString StandardWindowDialogs::ChooseNewDisplayTemplate(QWidget* parent, const QString& dir) {
  return QFileDialog::getSaveFileName(parent, "Create New Display Template", dir,
                                      "Display Template Files (*.qvg)");
}

bool StandardWindowDialogs::ChoosePrinter(QWidget* parent, QPrinter& printer,
                                          bool offer_selection) {
  QPrintDialog dialog(&printer, parent);
  QAbstractPrintDialog::PrintDialogOptions options = QAbstractPrintDialog::PrintToFile |
                                                     QAbstractPrintDialog::PrintShowPageSize |
                                                     QAbstractPrintDialog::PrintCollateCopies;
  if (offer_selection) options |= QAbstractPrintDialog::PrintSelection;
  dialog.setOptions(options);
  // The range starts at "All" every time; a selection is asked for anew.
  printer.setPrintRange(QPrinter::AllPages);
  return dialog.exec() == QDialog::Accepted;
}

void StandardWindowDialogs::SetUpPrinter(QWidget* parent, QPrinter& printer) {
  QPageSetupDialog dialog(&printer, parent);
  dialog.exec();
}

}  // namespace quorvant::app
