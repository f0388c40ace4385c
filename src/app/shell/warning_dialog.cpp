#include "app/shell/warning_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "app/shell/dialog_placement.h"
#include "app/shell/whats_this.h"

namespace quorvant::app {

TQVXWarning::TQVXWarning(const QString& text, QWidget* parent) : QDialog(parent) {
  setObjectName("TQVXWarning");
  setWindowTitle("Warning");

  auto* picture = new QLabel(this);
  const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
  picture->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(size, size));
  picture->setAlignment(Qt::AlignTop);

  auto* message = new QLabel(text, this);
  message->setObjectName("memMessage");
  message->setWordWrap(true);
  message->setTextInteractionFlags(Qt::TextSelectableByMouse);
  message->setMinimumWidth(320);

  cbDontShow_ = new QCheckBox("&Don't show this warning again", this);
  cbDontShow_->setObjectName("cbDontShow");

  auto* yes = new QPushButton("&Yes", this);
  yes->setObjectName("btnYes");
  yes->setDefault(true);
  auto* no = new QPushButton("&No", this);
  no->setObjectName("btnNo");
  auto* cancel = new QPushButton("Cancel", this);
  cancel->setObjectName("btnCancel");
  connect(yes, &QPushButton::clicked, this, [this] { Answer(WarningAnswer::kYes); });
  connect(no, &QPushButton::clicked, this, [this] { Answer(WarningAnswer::kNo); });
  connect(cancel, &QPushButton::clicked, this, [this] { Answer(WarningAnswer::kCancel); });

  auto* top = new QHBoxLayout;
  top->addWidget(picture);
  top->addWidget(message, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(cbDontShow_);
  buttons->addStretch();
  buttons->addWidget(yes);
  buttons->addWidget(no);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addSpacing(8);
  layout->addLayout(buttons);
  InstallWhatsThis(this);
}

void TQVXWarning::Answer(WarningAnswer answer) {
  answer_ = answer;
  done(answer == WarningAnswer::kCancel ? Rejected : Accepted);
}

SuppressibleReply TQVXWarning::Ask() {
  QApplication::beep();
  answer_ = WarningAnswer::kCancel;
  adjustSize();
  CentreOnScreen(*this);
  exec();
  return {answer_, cbDontShow_->isChecked()};
}

}  // namespace quorvant::app
