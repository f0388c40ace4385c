// The subcommands of quorvant-cli. Each takes its own arguments (without the
// program and subcommand names) and returns the process exit status:
// 0 success, 1 the operation failed (its message went to stderr),
// 2 the arguments were wrong.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorvant {
class Prompts;
class TResponseTable;
class TSurvey;
}  // namespace quorvant

namespace quorvant::cli {

using Args = std::vector<std::string>;
using CommandRun = int (*)(const Args& args);

struct Command {
  const char* name;
  const char* synopsis;  // arguments, as shown by --help
  const char* summary;   // one line
  // nullptr for a command that needs Qt, the network or the keyring: it
  // runs through DesktopCommand(name).
  CommandRun run;
};

// The table of subcommands, in the order --help lists them.
const std::vector<Command>& Commands();

// How a command that needs Qt, the network or the keyring runs: in
// quorvant-cli-desktop its own function (desktop_commands.cpp), in
// quorvant-cli the hand-over of the whole command line to that program
// (desktop_forwarding.cpp). name is a command's, or "emaillist print".
CommandRun DesktopCommand(std::string_view name);

int RunShow(const Args& args);
int RunSave(const Args& args);
int RunPage(const Args& args);
int RunExport(const Args& args);
int RunTable(const Args& args);
int RunResults(const Args& args);
int RunCrosstab(const Args& args);
int RunImport(const Args& args);
int RunLibrary(const Args& args);
int RunTemplate(const Args& args);
int RunEmailList(const Args& args);

// Loads the survey at path, adds the --where conditions to its analysis
// filter and counts its response table into survey.Results(); *records is
// the number of records the table holds. Returns 0, or the exit status
// after printing why it failed (1, or 2 for a wrong condition).
int LoadAndCount(const std::string& path, const std::vector<std::string>& conditions,
                 TSurvey& survey, uint32_t* records);
// The same, leaving the response table open in `table` (which reports
// through prompts).
int LoadAndCount(const std::string& path, const std::vector<std::string>& conditions,
                 TSurvey& survey, TResponseTable& table, Prompts& prompts, uint32_t* records);

// Loads a survey file; on failure prints the message to stderr and returns
// false.
bool LoadSurvey(const std::string& path, TSurvey& survey);

enum class ItemKinds { kQuestions, kHeadersToo };
// The index of the item with this ID (a header only when `kinds` takes
// headers); -1, after saying on stderr that the survey has no question with
// that ID, when there is none.
int SurveyItemOfId(const TSurvey& survey, int id, ItemKinds kinds);

// Prints "quorvant-cli: " + message to stderr and returns 2.
int UsageError(const std::string& message);

}  // namespace quorvant::cli
