// quorvant-cli-desktop's table of the commands that need Qt, the network or
// the keyring, which quorvant-cli hands over to it.
#include "cli/desktop_commands.h"

#include <cstdio>

namespace quorvant::cli {
namespace {

struct DesktopEntry {
  std::string_view name;
  CommandRun run;
};

constexpr DesktopEntry kDesktopCommands[] = {
    {"verify", RunVerify},
    {"register", RunRegister},
    {"clear-results", RunClearResults},
    {"mail", RunMail},
    {"fetch", RunFetch},
    {"incorporate", RunIncorporate},
    {"chart", RunChart},
    {"report", RunReport},
    {"print", RunPrint},
    {"emaillist print", RunEmailListPrint},
};

int NotBuiltIn(const Args&) {
  std::fprintf(stderr, "quorvant-cli: this command is not built into quorvant-cli-desktop\n");
  return 1;
}

}  // namespace

CommandRun DesktopCommand(std::string_view name) {
  for (const DesktopEntry& entry : kDesktopCommands) {
    if (entry.name == name) return entry.run;
  }
  return NotBuiltIn;
}

}  // namespace quorvant::cli
