#include "app/libraries/template_manager_dialog.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QUrl>

#include "app/libraries/library_name_dialog.h"
#include "app/shell/app_paths.h"
#include "app/shell/dialog_buttons.h"
#include "app/shell/dialog_placement.h"
#include "app/shell/whats_this.h"
#include "app/shell/window_dialogs.h"

namespace quorvant::app {
TQVXTemplateMgr::TQVXTemplateMgr(Prompts& prompts, WindowDialogs& dialogs, std::string data_dir,
                                 QWidget* parent)
    : QDialog(parent), dialogs_(dialogs), data_dir_(data_dir), manager_(prompts, data_dir) {
  setObjectName("TQVXTemplateMgr");
  setWindowTitle("Template Manager");

  cmbType_ = new QComboBox(this);
  cmbType_->setObjectName("cmbType");
  cmbType_->addItems({"Response Templates", "Display Templates"});
  auto* type_label = new QLabel("&Type", this);
  type_label->setBuddy(cmbType_);
  lbTemplates_ = new QListWidget(this);
  lbTemplates_->setObjectName("lbTemplates");
  auto* list_label = new QLabel("T&emplates:", this);
  list_label->setBuddy(lbTemplates_);
  btnNewTemplate_ = MakeSideButton("btnNewTemplate", "Create New Template", this);
  btnDeleteTemplate_ = MakeSideButton("btnDeleteTemplate", "Delete Selected Template", this);
  memContents_ = new QPlainTextEdit(this);
  memContents_->setObjectName("memContents");
  memContents_->setLineWrapMode(QPlainTextEdit::NoWrap);
  memContents_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  QPushButton* close = MakeSideButton("btnClose", "&Close", this);
  QPushButton* help = MakeSideButton("btnHelp", "&Help", this);

  auto* side = new QVBoxLayout;
  side->addWidget(type_label);
  side->addWidget(cmbType_);
  side->addWidget(list_label);
  side->addWidget(lbTemplates_, 1);
  side->addWidget(btnNewTemplate_);
  side->addWidget(btnDeleteTemplate_);
  auto* bottom = new QHBoxLayout;
  bottom->addStretch(1);
  bottom->addWidget(help);
  bottom->addWidget(close);
  auto* layout = new QGridLayout(this);
  layout->addLayout(side, 0, 0);
  layout->addWidget(memContents_, 0, 1);
  layout->setColumnStretch(1, 1);
  layout->addLayout(bottom, 1, 0, 1, 2);

  connect(cmbType_, &QComboBox::activated, this, &TQVXTemplateMgr::ChooseType);
  connect(lbTemplates_, &QListWidget::currentRowChanged, this, &TQVXTemplateMgr::ChooseTemplate);
  connect(btnNewTemplate_, &QPushButton::clicked, this, &TQVXTemplateMgr::CreateTemplate);
  connect(btnDeleteTemplate_, &QPushButton::clicked, this, &TQVXTemplateMgr::DeleteTemplate);
  connect(memContents_, &QPlainTextEdit::textChanged, this,
          [this] { manager_.SetContents(memContents_->toPlainText().toStdString()); });
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  connect(help, &QPushButton::clicked, this,
          [] { QDesktopServices::openUrl(QUrl::fromLocalFile(HelpPagePath("template-manager"))); });

  resize(640, 420);
  CentreOnScreen(*this);
  manager_.ChooseType(TemplateManager::kResponseTemplates);
  ShowManager();
  InstallWhatsThis(this);
}

// Shows the manager's lists and contents without feeding them back to it.
void TQVXTemplateMgr::ShowManager() {
  const QSignalBlocker block_list(lbTemplates_);
  const QSignalBlocker block_contents(memContents_);
  cmbType_->setCurrentIndex(manager_.CurrentType());
  lbTemplates_->clear();
  for (const std::string& name : manager_.Names()) {
    lbTemplates_->addItem(QString::fromStdString(name));
  }
  lbTemplates_->setCurrentRow(manager_.Shown());
  memContents_->setPlainText(QString::fromStdString(manager_.Contents()));
  btnDeleteTemplate_->setEnabled(manager_.Shown() >= 0);
}

void TQVXTemplateMgr::ChooseType(int type) {
  manager_.ChooseType(type);
  ShowManager();
}

void TQVXTemplateMgr::ChooseTemplate(int row) {
  if (row < 0) return;
  manager_.Choose(row);
  ShowManager();
}

void TQVXTemplateMgr::CreateTemplate() {
  manager_.WriteBack();
  if (manager_.CurrentType() == TemplateManager::kResponseTemplates) {
    TQVXLibName dialog("New Template", "Please enter a &name for the new template:", this);
    if (dialog.exec() != QDialog::Accepted) return;
    manager_.CreateResponseTemplate(dialog.Name().toStdString());
  } else {
    const QString chosen =
        dialogs_.ChooseNewDisplayTemplate(this, QString::fromStdString(data_dir_));
    if (chosen.isEmpty()) return;
    manager_.CreateDisplayTemplate(chosen.toStdString());
  }
  ShowManager();
}

void TQVXTemplateMgr::DeleteTemplate() {
  manager_.DeleteShown();
  ShowManager();
}

// "&Close", Esc and the close box all end here: none of them drops edits.
void TQVXTemplateMgr::done(int result) {
  manager_.WriteBack();
  QDialog::done(result);
}

}  // namespace quorvant::app
