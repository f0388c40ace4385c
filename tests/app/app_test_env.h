// Helpers of the window tests: a private home with its own settings and data
// folders, scripted answers for the main window's own dialogs, and a way to
// answer the next modal dialog.
#pragma once

#include <QApplication>
#include <QDir>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <deque>
#include <functional>

#include "app/shell/window_dialogs.h"

namespace quorvant::testing {

// Points $HOME, $XDG_DATA_HOME and QUORVANT_CONFIG_DIR into a fresh folder.
class AppHome {
 public:
  AppHome() {
    QDir().mkpath(Path("home"));
    qputenv("HOME", Path("home").toLocal8Bit());
    qputenv("XDG_DATA_HOME", Path("data").toLocal8Bit());
    qputenv("QUORVANT_CONFIG_DIR", Path("config").toLocal8Bit());
  }
  QString Path(const QString& relative) const { return dir_.path() + "/" + relative; }
  std::string File(const QString& relative) const { return Path(relative).toStdString(); }

 private:
  QTemporaryDir dir_;
};

class ScriptedWindowDialogs : public app::WindowDialogs {
 public:
  app::SaveAnswer ConfirmSave(QWidget*) override {
    ++confirm_save_count;
    return Next(save_answers, app::SaveAnswer::kCancel);
  }
  QString ChooseSurveyToOpen(QWidget*, const QString&) override {
    return Next(open_names, QString());
  }
  QString ChooseSurveyToSave(QWidget*, const QString&, const QString& initial) override {
    save_dialog_initial = initial;
    return Next(save_names, QString());
  }
  void FileNotFound(QWidget*, const QString& text) override { not_found.push_back(text); }
  QString ChooseEmailList(QWidget*, const QString& dir) override {
    email_list_dir = dir;
    return Next(email_lists, QString());
  }
  bool ConfirmCreate(QWidget*, const QString& text) override {
    confirm_create.push_back(text);
    return Next(create_answers, false);
  }
  void DirectoryError(QWidget*, const QString& text) override { directory_errors.push_back(text); }
  QString ChooseImportFile(QWidget*, const QString&) override {
    return Next(import_names, QString());
  }
  QString ChooseNewDisplayTemplate(QWidget*, const QString& dir) override {
    display_template_dir = dir;
    return Next(display_template_names, QString());
  }
  // Prints into print_pdf (nothing when empty) with print_copies copies and
  // the selection when print_selection is set and offered.
  bool ChoosePrinter(QWidget*, QPrinter& printer, bool offer_selection) override {
    selection_offered.push_back(offer_selection);
    if (print_pdf.isEmpty()) return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(print_pdf);
    printer.setCopyCount(print_copies);
    printer.setPrintRange(offer_selection && print_selection ? QPrinter::Selection
                                                             : QPrinter::AllPages);
    return true;
  }
  void SetUpPrinter(QWidget*, QPrinter&) override { ++page_setups; }

  QString ChooseExportTable(QWidget*, const QString& dir, const QString& initial,
                            bool* labels) override {
    export_proposal = dir + "/" + initial;
    *labels = export_labels;
    return Next(export_names, QString());
  }
  // The managers' dialogs: list_dialogs when a test gives them, else the
  // standard ones.
  app::EmailListDialogs& EmailLists() override {
    return list_dialogs != nullptr ? *list_dialogs : standard_list_dialogs_;
  }

  app::EmailListDialogs* list_dialogs = nullptr;
  bool export_labels = false;  // the answer of ChooseExportTable's type
  std::deque<app::SaveAnswer> save_answers;
  std::deque<QString> export_names;
  QString export_proposal;
  std::deque<QString> open_names;
  std::deque<QString> save_names;
  std::vector<QString> not_found;
  std::deque<QString> email_lists;
  QString email_list_dir;
  std::deque<bool> create_answers;
  std::vector<QString> confirm_create;
  std::vector<QString> directory_errors;
  QString save_dialog_initial;
  std::deque<QString> import_names;
  std::deque<QString> display_template_names;
  QString display_template_dir;
  int confirm_save_count = 0;
  QString print_pdf;
  int print_copies = 1;
  bool print_selection = false;
  std::vector<bool> selection_offered;
  int page_setups = 0;

 private:
  app::StandardEmailListDialogs standard_list_dialogs_;

  template <typename T>
  static T Next(std::deque<T>& queue, T fallback) {
    if (queue.empty()) return fallback;
    T value = queue.front();
    queue.pop_front();
    return value;
  }
};

// Collects the addresses a window asks the desktop to open; install with
// QDesktopServices::setUrlHandler(scheme, &catcher, "Open").
class UrlCatcher : public QObject {
  Q_OBJECT

 public:
  QList<QUrl> urls;

 public slots:
  void Open(const QUrl& url) { urls << url; }
};

// The named control of a window; the test stops when there is none.
template <typename T>
T* Child(const QObject* window, const char* name) {
  T* child = window->findChild<T*>(name);
  if (child == nullptr) qFatal("no control %s", name);
  return child;
}

// Runs `answer` on the modal dialog that the next command opens.
inline void AnswerNextModal(std::function<void(QWidget*)> answer) {
  QTimer::singleShot(0, qApp, [answer] { answer(QApplication::activeModalWidget()); });
}

}  // namespace quorvant::testing
