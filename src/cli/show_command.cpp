// quorvant-cli show: the survey's items as the main window lists them.
#include <cstdio>

#include "cli/commands.h"
#include "cli/option_arguments.h"
#include "core/shell/settings_store.h"
#include "core/survey/question_list.h"
#include "core/survey/survey.h"

namespace quorvant::cli {

int RunShow(const Args& args) {
  const auto parsed =
      ParseArguments(args, PositionalOnly(1, "usage: quorvant-cli show SURVEY.qvx"));
  if (!parsed) return 2;
  SettingsStore settings;
  TSurvey survey(settings);
  if (!LoadSurvey(parsed->positional[0], survey)) return 1;
  const QuestionListing listing = RebuildQuestionList(survey);
  bool first = true;
  for (const QuestionListLine& line : listing.lines) {
    if (!first) std::printf("\n");
    first = false;
    const char* indent = line.in_skip_group ? "    " : "";
    std::printf("%s%s\n", indent, line.line.c_str());
    if (!line.detail.empty()) std::printf("%s    %s\n", indent, line.detail.c_str());
  }
  return 0;
}

}  // namespace quorvant::cli
