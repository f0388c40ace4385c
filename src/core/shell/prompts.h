// The one way the core speaks to the person: error, warning and information
// boxes, yes/no confirmations and the suppressible warning dialog. The
// application implements it with message boxes; tests with scripted answers.
//
// Implementations are modal: every call returns only once the person has
// answered.
#pragma once

#include <string>

namespace quorvant {

enum class WarningAnswer { kYes, kNo, kCancel };

struct SuppressibleReply {
  WarningAnswer answer = WarningAnswer::kCancel;
  bool dont_show_again = false;  // "&Don't show this warning again" was checked
};

class Prompts {
 public:
  virtual ~Prompts() = default;

  // Title "Error", stop icon, OK.
  virtual void ShowError(const std::string& text) = 0;
  // Title "Warning", information icon, OK.
  virtual void ShowWarning(const std::string& text) = 0;
  // Title "Information", information icon, OK.
  virtual void ShowInfo(const std::string& text) = 0;
  // Title "Warning", question icon, Yes and No with Yes or No as the default
  // button; true exactly when Yes was pressed.
  virtual bool Confirm(const std::string& text, bool default_yes) = 0;
  // A Yes/No question box titled `title`, for the confirmations that carry
  // a title of their own; true exactly when Yes was pressed. By default the
  // plain confirmation, for prompts that show no titles.
  virtual bool ConfirmTitled(const std::string& title, const std::string& text, bool default_yes) {
    (void)title;
    return Confirm(text, default_yes);
  }
  // An error box titled `title` (stop icon, OK), for the errors that carry a
  // caption of their own. By default the plain error box.
  virtual void ShowErrorTitled(const std::string& title, const std::string& text) {
    (void)title;
    ShowError(text);
  }
  // The warning dialog: "&Yes", "&No", "Cancel" and the check box
  // "&Don't show this warning again".
  virtual SuppressibleReply AskSuppressible(const std::string& text) = 0;
};

}  // namespace quorvant
