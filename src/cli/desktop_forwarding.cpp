// quorvant-cli's side of the commands that run in quorvant-cli-desktop:
// each hands the whole command line over to it.
#include "cli/commands.h"
#include "cli/desktop_helper.h"

namespace quorvant::cli {

CommandRun DesktopCommand(std::string_view) {
  return [](const Args&) { return RunInDesktopHelper(); };
}

}  // namespace quorvant::cli
