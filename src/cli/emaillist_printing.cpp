// quorvant-cli emaillist print: the list printed into a PDF file through the
// printed reports' canvas, which needs Qt's GUI layer (started without a
// display).
#include <QFont>
#include <QGuiApplication>
#include <cstdio>

#include "app/reports/report_printing.h"
#include "cli/console_prompts.h"
#include "cli/desktop_commands.h"
#include "cli/qt_application.h"
#include "core/emaillists/email_list.h"
#include "core/emaillists/email_list_print.h"

namespace quorvant::cli {

int RunEmailListPrint(const Args& args) {
  const std::string& list_file = args.at(0);
  const std::string& pdf_path = args.at(1);
  ConsolePrompts prompts;
  TEmailList list(prompts);
  list.Open(list_file);
  const auto application = StartOffscreenGui();
  const bool printed = app::PrintReportToPdf(
      QString::fromStdString(pdf_path), "Email List Manager", QGuiApplication::font(),
      [&](PageCanvas& canvas) { PrintEmailList(list, canvas); });
  if (!printed) std::fprintf(stderr, "Could not write the file %s\n", pdf_path.c_str());
  return printed ? 0 : 1;
}

}  // namespace quorvant::cli
