// The subcommands of quorvant-cli. Each takes its own arguments (without the
// program and subcommand names) and returns the process exit status:
// 0 success, 1 the operation failed (its message went to stderr),
// 2 the arguments were wrong.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quorvant {
class Prompts;
class TResponseTable;
class TSurvey;
}  // namespace quorvant

namespace quorvant::cli {

using Args = std::vector<std::string>;

struct Command {
  const char* name;
  const char* synopsis;  // arguments, as shown by --help
  const char* summary;   // one line
  int (*run)(const Args& args);
};

// The table of subcommands, in the order --help lists them.
const std::vector<Command>& Commands();

int RunShow(const Args& args);
int RunSave(const Args& args);
int RunPage(const Args& args);
int RunVerify(const Args& args);
int RunRegister(const Args& args);
int RunClearResults(const Args& args);
int RunMail(const Args& args);
int RunExport(const Args& args);
int RunTable(const Args& args);
int RunFetch(const Args& args);
int RunIncorporate(const Args& args);
int RunResults(const Args& args);
int RunImport(const Args& args);
int RunLibrary(const Args& args);
int RunTemplate(const Args& args);
int RunEmailList(const Args& args);
int RunChart(const Args& args);
int RunReport(const Args& args);
int RunPrint(const Args& args);

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

// Prints "quorvant-cli: " + message to stderr and returns 2.
int UsageError(const std::string& message);

}  // namespace quorvant::cli
