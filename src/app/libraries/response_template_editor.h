// TQVXrt ("Response Template"): a new response template from a description
// and the response lines. "&OK" is enabled only while both are filled in.
// Remembers its position under "Response Template Window".
#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace quorvant {
class SettingsStore;
}

namespace quorvant::app {

class TQVXrt : public QDialog {
  Q_OBJECT

 public:
  TQVXrt(SettingsStore& settings, const QString& responses, QWidget* parent);

  QString Description() const;
  // One entry per line, without the blanks and tabs that end a line.
  std::vector<std::string> Responses() const;

  void done(int result) override;

 private:
  void UpdateOk();

  SettingsStore& settings_;
  QLineEdit* eDescription_ = nullptr;
  QPlainTextEdit* memResponses_ = nullptr;
  QPushButton* btnOK_ = nullptr;
};

}  // namespace quorvant::app
