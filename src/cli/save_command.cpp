// quorvant-cli save: load a survey and write it back, in place or as a copy.
#include <cstdio>

#include "cli/commands.h"
#include "core/shell/settings_store.h"
#include "core/survey/survey.h"
#include "core/survey/survey_exception.h"

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
