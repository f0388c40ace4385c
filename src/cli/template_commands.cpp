// quorvant-cli template: response and display templates for scripts, read
// and written by the same code as the template manager window.
#include <cstdio>

#include "cli/commands.h"
#include "cli/option_arguments.h"
#include "core/libraries/library_files.h"
#include "core/libraries/question_import.h"
#include "core/libraries/response_template.h"
#include "core/shell/atomic_file.h"
#include "core/shell/profile_file.h"

namespace quorvant::cli {
namespace {

constexpr char kUsage[] =
    "usage: quorvant-cli template list [--data-dir DIR] | show FILE.qvt | "
    "write FILE.qvt TITLE VALUES.txt";

int RunList(const Args& args) {
  const auto parsed = ParseArguments(args, NamedFaults({DataDirectoryOption()}, 0, kUsage));
  if (!parsed) return 2;
  const std::string dir = DataDirectoryArgument(*parsed);
  for (const std::string& name : ListResponseTemplates(dir)) {
    std::printf("response\t%s\t%s\n", name.c_str(), ReadResponseTemplate(dir + name).title.c_str());
  }
  for (const std::string& name : ListDisplayTemplates(dir)) {
    std::printf("display\t%s\n", name.c_str());
  }
  return 0;
}

int RunShowTemplate(const Args& args) {
  const auto parsed = ParseArguments(args, NamedFaults({}, 1, kUsage));
  if (!parsed) return 2;
  const std::string& path = parsed->positional[0];
  if (!FileExists(path)) {
    std::fprintf(stderr, "The response template %s does not exist.\n", path.c_str());
    return 1;
  }
  const TResponseTemplate shown = ReadResponseTemplate(path);
  std::printf("%s\n", shown.title.c_str());
  for (const std::string& value : shown.values) std::printf("%s\n", value.c_str());
  return 0;
}

int RunWrite(const Args& args) {
  const auto parsed = ParseArguments(args, NamedFaults({}, 3, kUsage));
  if (!parsed) return 2;
  const std::string& values_path = parsed->positional[2];
  const auto text = ReadWholeFile(values_path);
  if (!text) {
    std::fprintf(stderr, "The file %s could not be read.\n", values_path.c_str());
    return 1;
  }
  try {
    WriteResponseTemplate(parsed->positional[0], {parsed->positional[1], SplitImportLines(*text)});
  } catch (const EProfileWriteError& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}

}  // namespace

int RunTemplate(const Args& args) {
  return RunVerb(args, {{"list", RunList}, {"show", RunShowTemplate}, {"write", RunWrite}}, kUsage);
}

}  // namespace quorvant::cli
