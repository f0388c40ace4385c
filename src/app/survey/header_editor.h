// TQVXHeader: the header editor ("Header Details"), one memo "Header &Text:".
// Created once at start-up and reused; remembers its position under
// "Header Window".
#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace quorvant {
class SettingsStore;
}

namespace quorvant::app {

class TQVXHeader : public QDialog {
  Q_OBJECT

 public:
  TQVXHeader(SettingsStore& settings, QWidget* parent);

  void SetText(const QString& text);
  QString Text() const;

  void done(int result) override;

 private:
  SettingsStore& settings_;
  QPlainTextEdit* memHeader_ = nullptr;
};

}  // namespace quorvant::app
