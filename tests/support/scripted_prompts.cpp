#include "support/scripted_prompts.h"

#include <gtest/gtest.h>

namespace quorvant::testing {

void ScriptedPrompts::ShowError(const std::string& text) { log.push_back("error: " + text); }
void ScriptedPrompts::ShowWarning(const std::string& text) { log.push_back("warning: " + text); }
void ScriptedPrompts::ShowInfo(const std::string& text) { log.push_back("info: " + text); }

bool ScriptedPrompts::Confirm(const std::string& text, bool default_yes) {
  log.push_back(std::string("confirm(default ") + (default_yes ? "yes" : "no") + "): " + text);
  if (confirm_answers.empty()) {
    ADD_FAILURE() << "unexpected confirmation: " << text;
    return false;
  }
  const bool answer = confirm_answers.front();
  confirm_answers.pop_front();
  return answer;
}

void ScriptedPrompts::ShowErrorTitled(const std::string& title, const std::string& text) {
  ShowError("[" + title + "] " + text);
}

bool ScriptedPrompts::ConfirmTitled(const std::string& title, const std::string& text,
                                    bool default_yes) {
  return Confirm("[" + title + "] " + text, default_yes);
}

SuppressibleReply ScriptedPrompts::AskSuppressible(const std::string& text) {
  log.push_back("suppressible: " + text);
  if (suppressible_answers.empty()) {
    ADD_FAILURE() << "unexpected warning: " << text;
    return {};
  }
  const SuppressibleReply reply = suppressible_answers.front();
  suppressible_answers.pop_front();
  return reply;
}

}  // namespace quorvant::testing
