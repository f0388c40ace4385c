#include "app/libraries/response_template_editor.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/shell/dialog_buttons.h"
#include "app/shell/dialog_placement.h"
#include "app/shell/whats_this.h"
#include "core/shell/settings_keys.h"
#include "core/survey/question.h"

namespace quorvant::app {

TQVXrt::TQVXrt(SettingsStore& settings, const QString& responses, QWidget* parent)
    : QDialog(parent), settings_(settings) {
  setObjectName("TQVXrt");
  setWindowTitle("Response Template");
  eDescription_ = new QLineEdit(this);
  eDescription_->setObjectName("eDescription");
  eDescription_->setMaxLength(40);
  memResponses_ = new QPlainTextEdit(responses, this);
  memResponses_->setObjectName("memResponses");
  memResponses_->setLineWrapMode(QPlainTextEdit::NoWrap);
  // As in the question editor: Tab moves on rather than into a response.
  memResponses_->setTabChangesFocus(true);

  QDialogButtonBox* buttons = MakeOkCancelButtons(*this, "&OK", &btnOK_);
  connect(eDescription_, &QLineEdit::textChanged, this, &TQVXrt::UpdateOk);
  connect(memResponses_, &QPlainTextEdit::textChanged, this, &TQVXrt::UpdateOk);

  auto* form = new QFormLayout(this);
  form->addRow("&Description:", eDescription_);
  form->addRow("&Responses:", memResponses_);
  form->addRow(buttons);
  resize(380, 300);
  RestorePlacement(*this, settings_, settings::kResponseTemplateWindow);
  UpdateOk();
  InstallWhatsThis(this);
}

QString TQVXrt::Description() const { return eDescription_->text(); }

std::vector<std::string> TQVXrt::Responses() const {
  return OptionLinesFromText(memResponses_->toPlainText().toStdString());
}

void TQVXrt::UpdateOk() {
  btnOK_->setEnabled(!eDescription_->text().isEmpty() && !memResponses_->toPlainText().isEmpty());
}

void TQVXrt::done(int result) {
  RememberPlacement(*this, settings_, settings::kResponseTemplateWindow);
  QDialog::done(result);
}

}  // namespace quorvant::app
