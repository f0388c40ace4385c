#include "cli/console_prompts.h"

#include <cstdio>

namespace quorvant::cli {

void ConsolePrompts::ShowError(const std::string& text) {
  std::fprintf(stderr, "%s\n", text.c_str());
}

void ConsolePrompts::ShowWarning(const std::string& text) {
  std::fprintf(stderr, "Warning: %s\n", text.c_str());
}

void ConsolePrompts::ShowInfo(const std::string& text) {
  std::fprintf(stderr, "%s\n", text.c_str());
}

bool ConsolePrompts::Confirm(const std::string& text, bool default_yes) {
  std::fprintf(stderr, "%s %s\n", text.c_str(), default_yes ? "(Yes)" : "(No)");
  return default_yes;
}

SuppressibleReply ConsolePrompts::AskSuppressible(const std::string& text) {
  std::fprintf(stderr, "Warning: %s (Cancel)\n", text.c_str());
  return {};
}

}  // namespace quorvant::cli
