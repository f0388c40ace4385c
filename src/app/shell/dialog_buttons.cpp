#include "app/shell/dialog_buttons.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

namespace quorvant::app {

QDialogButtonBox* MakeOkCancelButtons(QDialog& dialog, const char* ok_text, QPushButton** ok) {
  auto* buttons = new QDialogButtonBox(&dialog);
  QPushButton* ok_button = buttons->addButton(ok_text, QDialogButtonBox::AcceptRole);
  ok_button->setObjectName("btnOK");
  ok_button->setDefault(true);
  buttons->addButton("Cancel", QDialogButtonBox::RejectRole)->setObjectName("btnCancel");
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  if (ok != nullptr) *ok = ok_button;
  return buttons;
}

}  // namespace quorvant::app
