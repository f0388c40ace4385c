// TQVXMainForm: "&Export Responses...": the responses in a file of the
// author's choice. A dBase file is a copy of the response table with its
// field-mapping text, which opens in the desktop's text program; a CSV,
// Excel, SPSS or Stata file holds the records under the analysis filter
// with the question texts and option labels.
#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>
#include <stdexcept>

#include "app/shell/main_form.h"
#include "app/shell/window_dialogs.h"
#include "core/export/response_file_export.h"
#include "core/shell/prompts.h"
#include "core/shell/text_helpers.h"

namespace quorvant::app {

void TQVXMainForm::ExportResponseTable() {
  if (!response_table_.IsOpen()) return;
  const QString survey_file = QString::fromStdString(document_.Survey().FileName());
  bool labels = false;
  const QString chosen = dialogs_.ChooseExportTable(
      this, QFileInfo(survey_file).absolutePath(),
      QString::fromStdString(NameWithoutExtension(document_.Survey().FileName()) + ".dbf"),
      &labels);
  if (chosen.isEmpty()) return;
  try {
    ExportResponsesByType(
        document_.Survey(), response_table_.table(), chosen.toStdString(), {.labels = labels},
        prompts_, [](const std::string& text_file) {
          QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(text_file)));
        });
  } catch (const std::exception& e) {
    prompts_.ShowError(e.what());
  }
  RefreshMainWindow();
}

}  // namespace quorvant::app
