// A Prompts implementation for tests: records every message it is shown and
// answers questions from queues the test fills beforehand. A question with no
// answer queued fails the test and answers No (or Cancel).
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "core/shell/prompts.h"

namespace quorvant::testing {

class ScriptedPrompts : public Prompts {
 public:
  void ShowError(const std::string& text) override;
  // Logged as ShowError, the text preceded by "[title] ".
  void ShowErrorTitled(const std::string& title, const std::string& text) override;
  void ShowWarning(const std::string& text) override;
  void ShowInfo(const std::string& text) override;
  bool Confirm(const std::string& text, bool default_yes) override;
  // Logged and answered as Confirm, the text preceded by "[title] ".
  bool ConfirmTitled(const std::string& title, const std::string& text, bool default_yes) override;
  SuppressibleReply AskSuppressible(const std::string& text) override;

  std::deque<bool> confirm_answers;
  std::deque<SuppressibleReply> suppressible_answers;

  // Every call, as "error: text", "warning: text", "info: text",
  // "confirm(default yes|no): text", "suppressible: text".
  std::vector<std::string> log;
};

}  // namespace quorvant::testing
