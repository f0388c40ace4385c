// A warning the person may switch off, remembered per key under
// "Disabled Warnings" in the settings store.
#pragma once

#include <string>
#include <string_view>

#include "core/shell/prompts.h"

namespace quorvant {

class SettingsStore;

// When "Disabled Warnings"/key is set the answer is Yes at once and nothing
// is shown. Otherwise the warning dialog is shown; a Yes or No with the check
// box ticked switches the warning off. Cancel never stores anything.
WarningAnswer SuppressibleWarning(Prompts& prompts, SettingsStore& store, const std::string& text,
                                  std::string_view key);

}  // namespace quorvant
