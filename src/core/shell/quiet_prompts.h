// QuietPrompts: the prompts of a run that nobody watches, such as a
// benchmark or a fuzzing run: messages are dropped and every question takes
// its default answer. Whether the work succeeded is read from its results.
#pragma once

#include <string>

#include "core/shell/prompts.h"

namespace quorvant {

class QuietPrompts : public Prompts {
 public:
  void ShowError(const std::string&) override {}
  void ShowWarning(const std::string&) override {}
  void ShowInfo(const std::string&) override {}
  bool Confirm(const std::string&, bool default_yes) override { return default_yes; }
  SuppressibleReply AskSuppressible(const std::string&) override { return {}; }
};

}  // namespace quorvant
