// quorvant-cli save: load a survey and write it back, in place or as a copy.
#include "cli/commands.h"
#include "cli/console_prompts.h"
#include "core/shell/settings_store.h"
#include "core/survey/survey_document.h"

namespace quorvant::cli {

int RunSave(const Args& args) {
  std::string input, output;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--as") {
      if (i + 1 >= args.size()) return UsageError("--as needs a file name");
      output = args[++i];
    } else if (!args[i].starts_with("-") && input.empty()) {
      input = args[i];
    } else {
      return UsageError("usage: quorvant-cli save SURVEY.qvx [--as OUT.qvx]");
    }
  }
  if (input.empty()) return UsageError("usage: quorvant-cli save SURVEY.qvx [--as OUT.qvx]");
  SettingsStore settings;
  ConsolePrompts prompts;
  SurveyDocument document(settings, prompts);
  if (!document.Load(input)) return 1;
  const bool saved = output.empty() ? document.Save() : document.WriteTo(output);
  return saved ? 0 : 1;
}

}  // namespace quorvant::cli
