#include "app/shell/message_prompts.h"

#include <QMessageBox>

#include "app/shell/warning_dialog.h"

namespace quorvant::app {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

void MessageBoxPrompts::ShowError(const std::string& text) {
  QMessageBox::critical(parent_, "Error", Q(text));
}

void MessageBoxPrompts::ShowErrorTitled(const std::string& title, const std::string& text) {
  QMessageBox::critical(parent_, Q(title), Q(text));
}

void MessageBoxPrompts::ShowWarning(const std::string& text) {
  QMessageBox::information(parent_, "Warning", Q(text));
}

void MessageBoxPrompts::ShowInfo(const std::string& text) {
  QMessageBox::information(parent_, "Information", Q(text));
}

bool MessageBoxPrompts::Confirm(const std::string& text, bool default_yes) {
  return ConfirmTitled("Warning", text, default_yes);
}

bool MessageBoxPrompts::ConfirmTitled(const std::string& title, const std::string& text,
                                      bool default_yes) {
  return QMessageBox::question(parent_, Q(title), Q(text), QMessageBox::Yes | QMessageBox::No,
                               default_yes ? QMessageBox::Yes : QMessageBox::No) ==
         QMessageBox::Yes;
}

SuppressibleReply MessageBoxPrompts::AskSuppressible(const std::string& text) {
  TQVXWarning dialog(Q(text), parent_);
  return dialog.Ask();
}

}  // namespace quorvant::app
