#include "core/shell/suppressible_warning.h"

#include "core/shell/settings_keys.h"
#include "core/shell/settings_store.h"

namespace quorvant {

WarningAnswer SuppressibleWarning(Prompts& prompts, SettingsStore& store, const std::string& text,
                                  std::string_view key) {
  if (store.ReadBool(settings::kDisabledWarnings, key, false)) return WarningAnswer::kYes;
  const SuppressibleReply reply = prompts.AskSuppressible(text);
  if (reply.answer != WarningAnswer::kCancel && reply.dont_show_again) {
    store.WriteBool(settings::kDisabledWarnings, key, true);
  }
  return reply.answer;
}

}  // namespace quorvant
