#include "cli/emaillist_printing.h"

#include <QFont>
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>

#include "app/reports/report_printing.h"
#include "cli/console_prompts.h"
#include "core/emaillists/email_list.h"
#include "core/emaillists/email_list_print.h"

namespace quorvant::cli {

int RunEmailListPrint(const std::string& list_file, const std::string& pdf_path) {
  ConsolePrompts prompts;
  TEmailList list(prompts);
  list.Open(list_file);
  // Fonts need the GUI layer; a terminal run has no display to show on.
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  int argc = 1;
  char name[] = "quorvant-cli";
  char* argv[] = {name, nullptr};
  QGuiApplication app(argc, argv);
  const bool printed = app::PrintReportToPdf(
      QString::fromStdString(pdf_path), "Email List Manager", QGuiApplication::font(),
      [&](PageCanvas& canvas) { PrintEmailList(list, canvas); });
  if (!printed) std::fprintf(stderr, "Could not write the file %s\n", pdf_path.c_str());
  return printed ? 0 : 1;
}

}  // namespace quorvant::cli
