// quorvant-cli import: build a new survey from a question text file, as
// "&Import Questions..." does, and save it.
#include "cli/commands.h"
#include "cli/console_prompts.h"
#include "cli/option_arguments.h"
#include "core/libraries/question_import.h"
#include "core/shell/settings_store.h"
#include "core/survey/survey_document.h"

namespace quorvant::cli {

int RunImport(const Args& args) {
  constexpr char kUsage[] =
      "usage: quorvant-cli import TEXT.txt OUT.qvx --style 1|2|3|5 [--data-dir DIR]";
  const auto parsed =
      ParseArguments(args, NamedFaults({{.name = "--style"}, DataDirectoryOption()}, 2, kUsage));
  if (!parsed) return 2;
  const std::optional<std::string> style = parsed->Value("--style");
  if (!style) return UsageError(kUsage);
  int style_code = 0;
  for (int i = 0; i < 4; ++i) {
    if (*style == std::to_string(ImportStyleForIndex(i))) style_code = ImportStyleForIndex(i);
  }
  if (style_code == 0) return UsageError("--style must be 1, 2, 3 or 5");

  SettingsStore settings;
  ConsolePrompts prompts;
  SurveyDocument document(settings, prompts);
  if (!ImportQuestionFile(document.Survey(), parsed->positional[0], style_code,
                          DataDirectoryArgument(*parsed), prompts)) {
    return 1;
  }
  // A conversion, like any other tool's output: the new survey is not
  // flushed to disk (its text file is still there to import again), but a
  // survey it replaces is never left empty by a crash.
  return document.WriteTo(parsed->positional[1], WriteDurability::kKeepOld) ? 0 : 1;
}

}  // namespace quorvant::cli
