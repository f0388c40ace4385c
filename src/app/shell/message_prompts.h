// The prompts of the running program: message boxes over the main window and
// the warning dialog TQVXWarning.
#pragma once

#include "core/shell/prompts.h"

class QWidget;

namespace quorvant::app {

class MessageBoxPrompts : public Prompts {
 public:
  // Boxes are owned by `parent` (the main window once it exists).
  explicit MessageBoxPrompts(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }

  void ShowError(const std::string& text) override;
  void ShowErrorTitled(const std::string& title, const std::string& text) override;
  void ShowWarning(const std::string& text) override;
  void ShowInfo(const std::string& text) override;
  bool Confirm(const std::string& text, bool default_yes) override;
  bool ConfirmTitled(const std::string& title, const std::string& text, bool default_yes) override;
  SuppressibleReply AskSuppressible(const std::string& text) override;

 private:
  QWidget* parent_;
};

}  // namespace quorvant::app
