#include "app/survey/skip_group_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/shell/dialog_buttons.h"
#include "app/shell/whats_this.h"

namespace quorvant::app {

TQVXSkipGroup::TQVXSkipGroup(const QStringList& members, const QString& head,
                             const QStringList& responses, QWidget* parent)
    : QDialog(parent) {
  setObjectName("TQVXSkipGroup");
  setWindowTitle("Skip Group");

  lbQuestions_ = new QListWidget(this);
  lbQuestions_->setObjectName("lbQuestions");
  lbQuestions_->addItems(members);
  auto* following = new QLabel("The &following questions:", this);
  following->setBuddy(lbQuestions_);
  auto* skipped =
      new QLabel("will be skipped over if the user answers the following question:", this);
  auto* head_label = new QLabel(head.left(250), this);
  head_label->setObjectName("lblHeadQuestion");
  head_label->setWordWrap(true);
  QFont bold = head_label->font();
  bold.setBold(true);
  head_label->setFont(bold);

  cmbResponse_ = new QComboBox(this);
  cmbResponse_->setObjectName("cmbResponse");
  cmbResponse_->addItems(responses);
  cmbResponse_->setCurrentIndex(-1);
  auto* with = new QLabel("with this &response:", this);
  with->setBuddy(cmbResponse_);

  QDialogButtonBox* buttons = MakeOkCancelButtons(*this, "&OK", &btnOK_);
  connect(cmbResponse_, &QComboBox::currentIndexChanged, this, &TQVXSkipGroup::UpdateOk);
  connect(lbQuestions_, &QListWidget::itemClicked, this, &TQVXSkipGroup::UpdateOk);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(following);
  layout->addWidget(lbQuestions_, 1);
  layout->addWidget(skipped);
  layout->addWidget(head_label);
  layout->addSpacing(6);
  layout->addWidget(with);
  layout->addWidget(cmbResponse_);
  layout->addWidget(buttons);
  resize(440, 340);
  UpdateOk();
  InstallWhatsThis(this);
}

int TQVXSkipGroup::Response() const { return cmbResponse_->currentIndex(); }

void TQVXSkipGroup::showEvent(QShowEvent* event) {
  UpdateOk();
  QDialog::showEvent(event);
}

void TQVXSkipGroup::UpdateOk() { btnOK_->setEnabled(cmbResponse_->currentIndex() >= 0); }

}  // namespace quorvant::app
