#include "app/libraries/library_name_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "app/shell/dialog_buttons.h"
#include "app/shell/dialog_placement.h"
#include "app/shell/whats_this.h"

namespace quorvant::app {

TQVXLibName::TQVXLibName(const QString& caption, const QString& prompt, QWidget* parent)
    : QDialog(parent) {
  setObjectName("TQVXLibName");
  setWindowTitle(caption);
  eName_ = new QLineEdit(this);
  eName_->setObjectName("eName");
  auto* label = new QLabel(prompt, this);
  label->setBuddy(eName_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label);
  layout->addWidget(eName_);
  layout->addWidget(MakeOkCancelButtons(*this, "OK"));
  resize(320, 110);
  CentreOnScreen(*this);
  InstallWhatsThis(this);
}

QString TQVXLibName::Name() const { return eName_->text(); }

}  // namespace quorvant::app
