#include "app/emaillists/email_list_dialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>

namespace quorvant::app {
namespace {

const char kListFilter[] = "Email List (*.eml)";
const char kCsvFilter[] = "Comma seperated values (*.csv)";
const char kTextFilter[] = "ASCII Text (*.txt)";
const char kAllFilter[] = "All Files (*.*)";

QString Chosen(QFileDialog& dialog) {
  return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
             ? dialog.selectedFiles().constFirst()
             : QString();
}

}  // namespace

QString StandardEmailListDialogs::ChooseNewList(QWidget* parent, const QString& dir) {
  QFileDialog dialog(parent, "Save Email List", dir, kListFilter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  return Chosen(dialog);
}

QString StandardEmailListDialogs::ChooseListToOpen(QWidget* parent, const QString& dir) {
  QFileDialog dialog(parent, "Open an Email List", dir, kListFilter);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::ReadOnly, false);
  const QString name = Chosen(dialog);
  if (name.isEmpty() || QFileInfo::exists(name)) return name;
  const auto answer =
      QMessageBox::question(parent, "Open an Email List",
                            name + "\nThis file does not exist.\nDo you want to create it?");
  return answer == QMessageBox::Yes ? name : QString();
}

QString StandardEmailListDialogs::ChooseSaveAsName(QWidget* parent, const QString& current) {
  QFileDialog dialog(parent, "Save Email List", QFileInfo(current).absolutePath(), kListFilter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.selectFile(QFileInfo(current).fileName());
  return Chosen(dialog);
}

QString StandardEmailListDialogs::ChooseImportFile(QWidget* parent, const QString& dir) {
  QFileDialog dialog(parent, "Open an Email List", dir);
  dialog.setNameFilters({kCsvFilter, kAllFilter});
  dialog.setFileMode(QFileDialog::ExistingFile);
  return Chosen(dialog);
}

ExportChoice StandardEmailListDialogs::ChooseExportFile(QWidget* parent, const QString& dir) {
  QFileDialog dialog(parent, "Export the current EMail List", dir);
  dialog.setNameFilters({kCsvFilter, kTextFilter});
  dialog.selectNameFilter(kCsvFilter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  ExportChoice choice;
  choice.path = Chosen(dialog);
  choice.text = dialog.selectedNameFilter() == kTextFilter;
  return choice;
}

bool StandardEmailListDialogs::ChoosePrinter(QWidget* parent, QPrinter& printer) {
  QPrintDialog dialog(&printer, parent);
  return dialog.exec() == QDialog::Accepted;
}

void StandardEmailListDialogs::SetUpPrinter(QWidget* parent, QPrinter& printer) {
  QPageSetupDialog dialog(&printer, parent);
  dialog.exec();
}

}  // namespace quorvant::app
