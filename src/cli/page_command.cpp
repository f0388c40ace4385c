// quorvant-cli page: generate a survey's web page, as the publish dialog's
// "Generate Now" does, and save the survey with the new status.
#include <cstdio>

#include "cli/commands.h"
#include "cli/console_prompts.h"
#include "cli/option_arguments.h"
#include "core/shell/settings_store.h"
#include "core/survey/question_list.h"
#include "core/survey/survey_document.h"
#include "core/survey/survey_exception.h"
#include "core/webpage/page_generator.h"
#include "core/webpage/shipped_templates.h"

namespace quorvant::cli {

int RunPage(const Args& args) {
  constexpr char kUsage[] = "usage: quorvant-cli page SURVEY.qvx OUT.htm [--data-dir DIR]";
  const auto parsed = ParseArguments(args, {.options = {{.name = "--data-dir",
                                                         .missing = "--data-dir needs a folder",
                                                         .may_be_empty = false}},
                                            .least_positional = 2,
                                            .most_positional = 2,
                                            .usage = kUsage});
  if (!parsed) return 2;
  const std::vector<std::string>& files = parsed->positional;
  std::string data_dir = parsed->Value("--data-dir").value_or("");
  SettingsStore settings;
  if (data_dir.empty()) data_dir = ReadDataDirectory(settings);
  // The data folder gets the shipped templates it lacks, as at the program's start.
  InstallShippedTemplates(ShippedDataDirectory(), data_dir);

  ConsolePrompts prompts;
  SurveyDocument document(settings, prompts);
  TSurvey& survey = document.Survey();
  if (!document.Load(files[0])) return 1;
  bool generated = false;
  try {
    RebuildQuestionList(survey);
    generated = GeneratePublishedPage(survey, data_dir, files[1]);
  } catch (const ESurveyException& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  if (survey.Modified() && !document.Save()) return 1;
  if (!generated) {
    std::fprintf(stderr, "%s\n", PageNotGeneratedMessage(files[1]).c_str());
    return 1;
  }
  std::printf("%s\n", survey.HTMLStatus().c_str());
  return 0;
}

}  // namespace quorvant::cli
