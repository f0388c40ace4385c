// ConsolePrompts: the prompts of a command-line run. Messages go to stderr;
// questions take their default answer, since nobody is there to answer.
#pragma once

#include "core/shell/prompts.h"

namespace quorvant::cli {

class ConsolePrompts : public Prompts {
 public:
  void ShowError(const std::string& text) override;
  void ShowWarning(const std::string& text) override;
  void ShowInfo(const std::string& text) override;
  bool Confirm(const std::string& text, bool default_yes) override;
  SuppressibleReply AskSuppressible(const std::string& text) override;
};

}  // namespace quorvant::cli
