// quorvant-cli save: load a survey and write it back, in place or as a copy.
#include "cli/commands.h"
#include "cli/console_prompts.h"
#include "cli/option_arguments.h"
#include "core/shell/settings_store.h"
#include "core/survey/survey_document.h"

namespace quorvant::cli {

int RunSave(const Args& args) {
  constexpr char kUsage[] = "usage: quorvant-cli save SURVEY.qvx [--as OUT.qvx]";
  const auto parsed =
      ParseArguments(args, {.options = {{.name = "--as", .missing = "--as needs a file name"}},
                            .least_positional = 1,
                            .most_positional = 1,
                            .positional_may_be_empty = false,
                            .usage = kUsage});
  if (!parsed) return 2;
  const std::string& input = parsed->positional[0];
  const std::string output = parsed->Value("--as").value_or("");
  SettingsStore settings;
  ConsolePrompts prompts;
  SurveyDocument document(settings, prompts);
  if (!document.Load(input)) return 1;
  const bool saved = output.empty() ? document.Save() : document.WriteTo(output);
  return saved ? 0 : 1;
}

}  // namespace quorvant::cli
