// The entry of quorvant-cli and of its desktop helper: help, version and
// the dispatch of a subcommand to its function.
#include "cli/cli_main.h"

#include <cstdio>
#include <exception>
#include <string>

#include "cli/commands.h"
#include "cli/desktop_helper.h"
#include "core/shell/system_helpers.h"

namespace quorvant::cli {
namespace {

void PrintHelp() {
  std::printf("Usage: quorvant-cli COMMAND [ARGUMENTS]\n\nCommands:\n");
  for (const Command& c : Commands()) {
    std::printf("  %s %s\n      %s\n", c.name, c.synopsis, c.summary);
  }
  std::printf(
      "\nSettings are read from $QUORVANT_CONFIG_DIR/QuorvantBuilder.ini when that variable is\n"
      "set, else from $XDG_CONFIG_HOME/QuorvantBuilder/QuorvantBuilder.ini.\n"
      "Exit status: 0 success, 1 the operation failed, 2 wrong arguments.\n"
      "Version %s\n",
      FileVersionText().c_str());
}

}  // namespace

int CliMain(int argc, char** argv) {
  SetProgramArguments(argv);
  if (argc < 2) return UsageError("no command given");
  const std::string name = argv[1];
  if (name == "--help" || name == "-h" || name == "help") {
    PrintHelp();
    return 0;
  }
  if (name == "--version") {
    std::printf("quorvant-cli %s\n", quorvant::FileVersionText().c_str());
    return 0;
  }
  const Args args(argv + 2, argv + argc);
  for (const Command& c : Commands()) {
    if (name != c.name) continue;
    try {
      return (c.run != nullptr ? c.run : DesktopCommand(c.name))(args);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "The following internal error occurred:\n%s\n", e.what());
      return 1;
    }
  }
  return UsageError("unknown command '" + name + "'");
}

}  // namespace quorvant::cli
