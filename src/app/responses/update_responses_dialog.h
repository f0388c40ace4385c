// TQVXUpdateResponses ("Update Responses"): downloads the survey's new
// responses when it is first shown and lists what happens, line by line.
// Its one button is "&Stop" while the run goes on and "Close" after it.
// "&Stop" does not cancel the request: the run goes on to its end,
// incorporation included, and the dialog closes after it. The button is
// disabled while the reply is checked and incorporated; the hourglass cursor
// shows for the whole run.
//
// Ownership: the survey, table, settings and prompts must outlive the
// dialog. Thread-safety: the user-interface thread only.
#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>
#include <string>

#include "app/responses/update_run.h"

class QListWidget;
class QPushButton;

namespace quorvant::app {

class TQVXUpdateResponses : public QDialog {
  Q_OBJECT

 public:
  // temp_sink receives the temporary files of the run (the main window's
  // list, deleted at shutdown).
  TQVXUpdateResponses(TSurvey& survey, TResponseTable& table, const SettingsStore& settings,
                      Prompts& prompts, std::function<void(const std::string&)> temp_sink,
                      QWidget* parent = nullptr);

  ResponseUpdateRun& Run() { return run_; }
  QStringList StatusLines() const;
  // True once the run has ended.
  bool Processed() const { return processed_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  void Start();
  void StopOrClose();

  ResponseUpdateRun run_;
  QListWidget* lbStatus_ = nullptr;
  QPushButton* btnStop_ = nullptr;
  bool started_ = false;
  bool processed_ = false;
  bool close_after_run_ = false;
};

}  // namespace quorvant::app
