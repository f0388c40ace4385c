#include "app/reports/range_select_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/shell/dialog_buttons.h"
#include "app/shell/dialog_placement.h"
#include "app/shell/form_helpers.h"
#include "app/shell/whats_this.h"

namespace quorvant::app {

TQVXRangeSelect::TQVXRangeSelect(QWidget* parent) : QDialog(parent) {
  setObjectName("TQVXRangeSelect");
  setWindowTitle("Select Range");
  auto* question = new QLabel("What would you like to generate a web page for?", this);
  rbSelected_ = Named("rbSelected", new QRadioButton("&Selected question only", this));
  rbAll_ = Named("rbAll", new QRadioButton("&All questions", this));
  rbAll_->setChecked(true);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(question);
  layout->addWidget(rbSelected_);
  layout->addWidget(rbAll_);
  layout->addStretch();
  layout->addWidget(MakeOkCancelButtons(*this, "OK"));
  CentreOnScreen(*this);
  InstallWhatsThis(this);
}

bool TQVXRangeSelect::SelectedOnly() const { return rbSelected_->isChecked(); }

}  // namespace quorvant::app
