#include "app/shell/dialog_buttons.h"

#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QUrl>

#include "app/shell/app_paths.h"

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

QPushButton* AddHelpButton(QDialogButtonBox& buttons, const char* page) {
  QPushButton* help = buttons.addButton("&Help", QDialogButtonBox::HelpRole);
  help->setObjectName("btnHelp");
  const QString path = HelpPagePath(page);
  QObject::connect(help, &QPushButton::clicked, help,
                   [path] { QDesktopServices::openUrl(QUrl::fromLocalFile(path)); });
  return help;
}

QPushButton* MakeSideButton(const char* name, const QString& text, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(name);
  button->setAutoDefault(false);
  return button;
}

}  // namespace quorvant::app
