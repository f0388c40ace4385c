#include "app/reports/report_destination_dialog.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QUrl>
#include <QVBoxLayout>

#include "app/shell/app_paths.h"
#include "app/shell/dialog_buttons.h"
#include "app/shell/dialog_placement.h"
#include "app/shell/directory_chooser.h"
#include "app/shell/disabled_fields.h"
#include "app/shell/form_helpers.h"
#include "app/shell/whats_this.h"

namespace quorvant::app {

TQVXDestination::TQVXDestination(TQVXSelDir& chooser, const QString& directory, QWidget* parent)
    : QDialog(parent), chooser_(chooser) {
  setObjectName("TQVXDestination");
  setWindowTitle("Report Destination");
  auto* question = new QLabel("Where would you like this report to be generated?", this);
  rbToPrinter_ = Named("rbToPrinter", new QRadioButton("To the &printer", this));
  rbToWebPage_ = Named("rbToWebPage", new QRadioButton("To a &web page", this));
  eWebDirectory_ = Named("eWebDirectory", new QLineEdit(directory, this));
  lblDirectoryForPage_ =
      Named("lblDirectoryForPage", BuddyLabel("&Directory for web page:", eWebDirectory_, this));
  btnBrowseDir_ = Named("btnBrowseDir", new QPushButton("...", this));
  btnBrowseDir_->setToolTip("Select Directory");
  btnBrowseDir_->setFixedWidth(btnBrowseDir_->fontMetrics().horizontalAdvance("...") + 24);
  GreyWhenDisabled(*eWebDirectory_);
  rbToPrinter_->setChecked(true);

  QDialogButtonBox* buttons = MakeOkCancelButtons(*this, "OK", &ok_);
  QPushButton* help = buttons->addButton("&Help", QDialogButtonBox::HelpRole);
  help->setObjectName("btnHelp");
  connect(help, &QPushButton::clicked, this,
          [] { QDesktopServices::openUrl(QUrl::fromLocalFile(HelpPagePath("analysis-report"))); });
  connect(rbToPrinter_, &QRadioButton::toggled, this, &TQVXDestination::UpdateStates);
  connect(eWebDirectory_, &QLineEdit::textChanged, this, &TQVXDestination::UpdateStates);
  connect(btnBrowseDir_, &QPushButton::clicked, this, &TQVXDestination::BrowseDirectory);

  auto* dir_row = new QHBoxLayout;
  dir_row->setContentsMargins(20, 0, 0, 0);
  dir_row->addWidget(eWebDirectory_, 1);
  dir_row->addWidget(btnBrowseDir_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(question);
  layout->addWidget(rbToPrinter_);
  layout->addWidget(rbToWebPage_);
  layout->addSpacing(6);
  auto* label_row = new QHBoxLayout;
  label_row->setContentsMargins(20, 0, 0, 0);
  label_row->addWidget(lblDirectoryForPage_);
  layout->addLayout(label_row);
  layout->addLayout(dir_row);
  layout->addStretch();
  layout->addWidget(buttons);
  resize(400, sizeHint().height());
  UpdateStates();
  CentreOnScreen(*this);
  InstallWhatsThis(this);
}

bool TQVXDestination::ToWebPage() const { return rbToWebPage_->isChecked(); }
QString TQVXDestination::Directory() const { return eWebDirectory_->text(); }

void TQVXDestination::UpdateStates() {
  const bool web = rbToWebPage_->isChecked();
  lblDirectoryForPage_->setEnabled(web);
  eWebDirectory_->setEnabled(web);
  btnBrowseDir_->setEnabled(web);
  ok_->setEnabled(!web || !eWebDirectory_->text().isEmpty());
}

void TQVXDestination::BrowseDirectory() {
  chooser_.SetDirectory(eWebDirectory_->text());
  if (chooser_.exec() == QDialog::Accepted) eWebDirectory_->setText(chooser_.Directory());
}

}  // namespace quorvant::app
