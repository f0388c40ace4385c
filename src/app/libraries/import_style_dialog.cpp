#include "app/libraries/import_style_dialog.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "app/shell/app_paths.h"
#include "app/shell/dialog_buttons.h"
#include "app/shell/dialog_placement.h"
#include "app/shell/whats_this.h"
#include "core/libraries/question_import.h"

namespace quorvant::app {

TQVXImportSurvey::TQVXImportSurvey(QWidget* parent) : QDialog(parent) {
  setObjectName("TQVXImportSurvey");
  setWindowTitle("Import Survey from Text File");
  auto* note = new QLabel(
      "You can import text files in a specific format directly into Quorvant.  This is handy "
      "when you are developing a survey with a very large number of questions.",
      this);
  note->setWordWrap(true);
  auto* layout_note = new QLabel(
      "To obtain the required text file layout, please click the help button below.", this);
  layout_note->setWordWrap(true);
  cmbStyle_ = new QComboBox(this);
  cmbStyle_->setObjectName("cmbStyle");
  cmbStyle_->addItems({"Single Select", "Multiple Select", "Sliding Scale", "Pull Down List"});
  cmbStyle_->setCurrentIndex(0);
  auto* prompt = new QLabel("&Please select the Question Style for all of the questions:", this);
  prompt->setBuddy(cmbStyle_);

  QDialogButtonBox* buttons = MakeOkCancelButtons(*this, "OK");
  QPushButton* help = buttons->addButton("&Help", QDialogButtonBox::HelpRole);
  help->setObjectName("btnHelp");
  connect(help, &QPushButton::clicked, this,
          [] { QDesktopServices::openUrl(QUrl::fromLocalFile(HelpPagePath("import-questions"))); });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(note);
  layout->addWidget(layout_note);
  layout->addSpacing(6);
  layout->addWidget(prompt);
  layout->addWidget(cmbStyle_);
  layout->addWidget(buttons);
  resize(420, 200);
  CentreOnScreen(*this);
  InstallWhatsThis(this);
}

int TQVXImportSurvey::Style() const { return ImportStyleForIndex(cmbStyle_->currentIndex()); }

}  // namespace quorvant::app
