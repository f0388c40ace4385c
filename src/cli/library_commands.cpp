// quorvant-cli library: question libraries for scripts, through the same
// operations as the question library dialog and the main window's
// "&Add to Question Library".
#include <cstdio>
#include <optional>

#include "cli/commands.h"
#include "cli/console_prompts.h"
#include "cli/option_arguments.h"
#include "core/libraries/library_files.h"
#include "core/libraries/question_library.h"
#include "core/shell/settings_store.h"
#include "core/survey/editing_commands.h"
#include "core/survey/question_list.h"
#include "core/survey/survey_document.h"
#include "core/survey/survey_exception.h"

namespace quorvant::cli {
namespace {

constexpr char kUsage[] =
    "usage: quorvant-cli library list [--data-dir DIR] | new NAME [--data-dir DIR] | "
    "show LIB.qvl | add LIB.qvl SURVEY.qvx [--items N,...] | "
    "insert LIB.qvl SURVEY.qvx [--items N,...]";

// The zero-based indexes of the 1-based positions "N,..." among `count`
// items; all of them when the option is absent. Nothing, after a message,
// when a position is not a number in range.
std::optional<std::vector<int>> ItemIndexes(const ParsedArguments& parsed, int count,
                                            const std::string& file) {
  std::vector<int> indexes;
  const std::optional<std::string> items = parsed.Value("--items");
  if (!items) {
    for (int i = 0; i < count; ++i) indexes.push_back(i);
    return indexes;
  }
  size_t start = 0;
  const std::string& list = *items;
  while (start <= list.size()) {
    size_t end = list.find(',', start);
    if (end == std::string::npos) end = list.size();
    const std::string part = list.substr(start, end - start);
    int n = 0;
    const bool digits = !part.empty() && part.size() <= 9 &&
                        part.find_first_not_of("0123456789") == std::string::npos;
    if (digits) n = std::stoi(part);
    if (!digits || n < 1 || n > count) {
      std::fprintf(stderr, "There is no item %s in %s (it holds %d).\n", part.c_str(), file.c_str(),
                   count);
      return std::nullopt;
    }
    indexes.push_back(n - 1);
    start = end + 1;
  }
  return indexes;
}

int RunList(const Args& args) {
  const auto parsed = ParseArguments(args, NamedFaults({DataDirectoryOption()}, 0, kUsage));
  if (!parsed) return 2;
  for (const std::string& file : ListQuestionLibraries(DataDirectoryArgument(*parsed))) {
    std::printf("%s\t%s\n", file.c_str(), QuestionLibraryName(file).c_str());
  }
  return 0;
}

int RunNew(const Args& args) {
  const auto parsed = ParseArguments(args, NamedFaults({DataDirectoryOption()}, 1, kUsage));
  if (!parsed) return 2;
  SettingsStore settings;
  ConsolePrompts prompts;
  QuestionLibraries libraries(settings, prompts, DataDirectoryArgument(*parsed));
  libraries.Rebuild();
  if (libraries.Create(parsed->positional[0]) < 0) return 1;
  std::printf("%s\n", libraries.ShownPath().c_str());
  return 0;
}

int RunShowLibrary(const Args& args) {
  const auto parsed = ParseArguments(args, NamedFaults({}, 1, kUsage));
  if (!parsed) return 2;
  SettingsStore settings;
  TSurvey library(settings);
  if (!LoadSurvey(parsed->positional[0], library)) return 1;
  std::printf("%s\n", library.Name().c_str());
  for (const QuestionListLine& line : ListWithoutNumbers(library).lines) {
    std::printf("\n%s\n", line.line.c_str());
    if (!line.detail.empty()) std::printf("    %s\n", line.detail.c_str());
  }
  return 0;
}

int RunAdd(const Args& args) {
  const auto parsed = ParseArguments(args, NamedFaults({{.name = "--items"}}, 2, kUsage));
  if (!parsed) return 2;
  SettingsStore settings;
  TSurvey survey(settings);
  if (!LoadSurvey(parsed->positional[1], survey)) return 1;
  const auto indexes = ItemIndexes(*parsed, survey.ItemCount(), parsed->positional[1]);
  if (!indexes) return 1;
  try {
    AppendToQuestionLibrary(parsed->positional[0], survey, *indexes, settings);
  } catch (const ESurveyException& e) {
    std::fprintf(stderr, "Error adding questions to library\n%s\n", e.what());
    return 1;
  }
  return 0;
}

int RunInsert(const Args& args) {
  const auto parsed = ParseArguments(args, NamedFaults({{.name = "--items"}}, 2, kUsage));
  if (!parsed) return 2;
  SettingsStore settings;
  ConsolePrompts prompts;
  QuestionLibraries libraries(settings, prompts, "");
  if (!libraries.Open(parsed->positional[0])) return 1;
  const auto indexes = ItemIndexes(*parsed, libraries.Library().ItemCount(), parsed->positional[0]);
  if (!indexes) return 1;
  SurveyDocument document(settings, prompts);
  TSurvey& survey = document.Survey();
  TSurvey clipboard(settings);
  if (!LoadSurvey(parsed->positional[1], survey)) return 1;
  SurveyEditing editing(survey, clipboard, prompts, settings);
  if (!editing.ConfirmChangePublished()) return 1;
  libraries.AppendTo(survey, *indexes);
  return document.Save() ? 0 : 1;
}

}  // namespace

int RunLibrary(const Args& args) {
  return RunVerb(args,
                 {{"list", RunList},
                  {"new", RunNew},
                  {"show", RunShowLibrary},
                  {"add", RunAdd},
                  {"insert", RunInsert}},
                 kUsage);
}

}  // namespace quorvant::cli
