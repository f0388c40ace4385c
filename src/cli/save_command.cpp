// quorvant-cli save: load a survey and write it back, in place or as a copy.
#include <cstdio>

#include "cli/commands.h"
#include "cli/option_arguments.h"
#include "core/shell/settings_store.h"
#include "core/survey/survey.h"
#include "core/survey/survey_exception.h"

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
  TSurvey survey(settings);
  try {
    survey.Load(input);
    if (output.empty()) {
      survey.Save();
    } else {
      survey.SaveAs(output);
    }
  } catch (const ESurveyException& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}

}  // namespace quorvant::cli
