#include "app/survey/header_editor.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/shell/dialog_buttons.h"
#include "app/shell/dialog_placement.h"
#include "app/shell/whats_this.h"
#include "core/shell/settings_keys.h"

namespace quorvant::app {

TQVXHeader::TQVXHeader(SettingsStore& settings, QWidget* parent)
    : QDialog(parent), settings_(settings) {
  setObjectName("TQVXHeader");
  setWindowTitle("Header Details");
  memHeader_ = new QPlainTextEdit(this);
  memHeader_->setObjectName("memHeader");
  auto* label = new QLabel("Header &Text:", this);
  label->setBuddy(memHeader_);
  QDialogButtonBox* buttons = MakeOkCancelButtons(*this, "OK");
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label);
  layout->addWidget(memHeader_);
  layout->addWidget(buttons);
  resize(420, 220);
  RestorePlacement(*this, settings_, settings::kHeaderWindow);
  InstallWhatsThis(this);
}

void TQVXHeader::SetText(const QString& text) {
  memHeader_->setPlainText(text);
  memHeader_->setFocus();
}

QString TQVXHeader::Text() const { return memHeader_->toPlainText(); }

void TQVXHeader::done(int result) {
  RememberPlacement(*this, settings_, settings::kHeaderWindow);
  QDialog::done(result);
}

}  // namespace quorvant::app
