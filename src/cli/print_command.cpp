// quorvant-cli print: the survey as a paper questionnaire, or its printed
// analysis (every question, or one), into a PDF file, drawn by the same
// code as the window's Print.
#include <QGuiApplication>
#include <charconv>
#include <cstdio>
#include <cstdlib>

#include "app/reports/survey_printing.h"
#include "cli/commands.h"
#include "cli/console_prompts.h"
#include "core/responses/response_table.h"
#include "core/shell/settings_store.h"
#include "core/survey/survey.h"

namespace quorvant::cli {
namespace {

constexpr char kUsage[] =
    "usage: quorvant-cli print SURVEY.qvx OUT.pdf [--analysis [--question ID]] [--where COND]...";

struct PrintArgs {
  std::vector<std::string> positional;
  std::vector<std::string> conditions;
  bool analysis = false;
  std::optional<int> question_id;
};

// Empty on a usage error, after printing it.
std::optional<PrintArgs> Parse(const Args& args) {
  PrintArgs parsed;
  for (size_t i = 0; i < args.size(); ++i) {
    const bool has_value = i + 1 < args.size();
    if (args[i] == "--analysis") {
      parsed.analysis = true;
    } else if (args[i] == "--where" && has_value) {
      parsed.conditions.push_back(args[++i]);
    } else if (args[i] == "--question" && has_value) {
      const std::string& text = args[++i];
      int id = 0;
      const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), id);
      if (error != std::errc() || end != text.data() + text.size() || id < 0) {
        UsageError("the question ID must be a number: " + text);
        return std::nullopt;
      }
      parsed.question_id = id;
    } else if (args[i].starts_with("-") || parsed.positional.size() == 2) {
      UsageError(kUsage);
      return std::nullopt;
    } else {
      parsed.positional.push_back(args[i]);
    }
  }
  if (parsed.positional.size() != 2 || (!parsed.analysis && parsed.question_id) ||
      (!parsed.analysis && !parsed.conditions.empty())) {
    UsageError(kUsage);
    return std::nullopt;
  }
  return parsed;
}

// The item position of the question with this ID; -1, with the message on
// stderr, when there is none.
int QuestionPosition(const TSurvey& survey, int id) {
  for (int i = 0; i < survey.ItemCount(); ++i) {
    if (survey.Item(i).ID == id && !survey.Item(i).IsHeader()) return i;
  }
  std::fprintf(stderr, "The survey has no question with the ID %d.\n", id);
  return -1;
}

}  // namespace

int RunPrint(const Args& args) {
  const std::optional<PrintArgs> parsed = Parse(args);
  if (!parsed) return 2;
  const std::string& survey_path = parsed->positional[0];
  const std::string& pdf_path = parsed->positional[1];

  SettingsStore settings;
  TSurvey survey(settings);
  ConsolePrompts prompts;
  TResponseTable table(prompts);
  int item_index = -1;
  if (parsed->analysis) {
    uint32_t records = 0;
    const int status =
        LoadAndCount(survey_path, parsed->conditions, survey, table, prompts, &records);
    if (status != 0) return status;
    if (parsed->question_id) {
      item_index = QuestionPosition(survey, *parsed->question_id);
      if (item_index < 0) return 1;
    }
  } else if (!LoadSurvey(survey_path, survey)) {
    return 1;
  }

  // Fonts need the GUI layer; a terminal run has no display to show on.
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char name[] = "quorvant-cli";
  static char* argv[] = {name, nullptr};
  QGuiApplication application(argc, argv);
  const app::ReportTarget target{nullptr, QString::fromStdString(pdf_path)};
  const bool printed =
      parsed->analysis
          ? app::PrintAnalysis(target, survey, table.IsOpen() ? &table.table() : nullptr,
                               app::StoredBackground(settings), item_index)
          : app::PrintSurvey(target, survey);
  if (!printed) {
    std::fprintf(stderr, "Could not write the file %s\n", pdf_path.c_str());
    return 1;
  }
  return 0;
}

}  // namespace quorvant::cli
