#include "app/responses/update_responses_dialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "app/shell/whats_this.h"

namespace quorvant::app {

TQVXUpdateResponses::TQVXUpdateResponses(TSurvey& survey, TResponseTable& table,
                                         const SettingsStore& settings, Prompts& prompts,
                                         std::function<void(const std::string&)> temp_sink,
                                         QWidget* parent)
    : QDialog(parent), run_(survey, table, settings, prompts) {
  setObjectName("TQVXUpdateResponses");
  setWindowTitle("Update Responses");
  setModal(true);
  run_.SetTemporaryFileSink(std::move(temp_sink));

  lbStatus_ = new QListWidget(this);
  lbStatus_->setObjectName("lbStatus");
  lbStatus_->setSelectionMode(QAbstractItemView::NoSelection);
  btnStop_ = new QPushButton("&Stop", this);
  btnStop_->setObjectName("btnStop");
  btnStop_->setDefault(true);

  connect(&run_, &ResponseUpdateRun::StatusLine, this, [this](const QString& line) {
    lbStatus_->addItem(line);
    lbStatus_->scrollToBottom();
  });
  connect(&run_, &ResponseUpdateRun::Processing, this, [this] { btnStop_->setEnabled(false); });
  connect(btnStop_, &QPushButton::clicked, this, &TQVXUpdateResponses::StopOrClose);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(btnStop_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lbStatus_, 1);
  layout->addLayout(buttons);
  resize(420, 260);
  InstallWhatsThis(this);
}

QStringList TQVXUpdateResponses::StatusLines() const {
  QStringList lines;
  for (int i = 0; i < lbStatus_->count(); ++i) lines << lbStatus_->item(i)->text();
  return lines;
}

// The run starts once the dialog is on screen, so that its lines show as
// they come.
void TQVXUpdateResponses::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (started_) return;
  started_ = true;
  QTimer::singleShot(0, this, &TQVXUpdateResponses::Start);
}

void TQVXUpdateResponses::Start() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  run_.Run();
  QApplication::restoreOverrideCursor();
  processed_ = true;
  btnStop_->setText("Close");
  btnStop_->setEnabled(true);
  if (close_after_run_) accept();
}

void TQVXUpdateResponses::StopOrClose() {
  if (run_.Running()) {
    close_after_run_ = true;
    return;
  }
  accept();
}

// Closing the window during the run behaves as "&Stop".
void TQVXUpdateResponses::closeEvent(QCloseEvent* event) {
  if (run_.Running()) {
    close_after_run_ = true;
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

void TQVXUpdateResponses::reject() {
  if (run_.Running()) {
    close_after_run_ = true;
    return;
  }
  QDialog::reject();
}

}  // namespace quorvant::app
