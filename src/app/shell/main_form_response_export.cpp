// TQVXMainForm: "&Export Responses...": the response table copied to a
// dBase file of the author's choice, with its field-mapping text, which
// opens in the desktop's text program.
#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>
#include <stdexcept>

#include "app/shell/main_form.h"
#include "app/shell/window_dialogs.h"
#include "core/responses/response_export.h"
#include "core/shell/prompts.h"
#include "core/shell/text_helpers.h"

namespace quorvant::app {

void TQVXMainForm::ExportResponseTable() {
  if (!response_table_.IsOpen()) return;
  const QString survey_file = QString::fromStdString(document_.Survey().FileName());
  const QString chosen = dialogs_.ChooseExportTable(
      this, QFileInfo(survey_file).absolutePath(),
      QString::fromStdString(NameWithoutExtension(document_.Survey().FileName()) + ".dbf"));
  if (chosen.isEmpty()) return;
  try {
    ExportResponses(
        document_.Survey(), response_table_.table(), chosen.toStdString(), prompts_,
        [](const std::string& text_file) {
          QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(text_file)));
        });
  } catch (const std::exception& e) {
    prompts_.ShowError(e.what());
  }
  RefreshMainWindow();
}

}  // namespace quorvant::app
