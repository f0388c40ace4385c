// The commands of quorvant-cli that run in quorvant-cli-desktop: each hands
// the whole command line over to it.
#include "cli/commands.h"
#include "cli/desktop_helper.h"
#include "cli/emaillist_printing.h"

namespace quorvant::cli {

int RunVerify(const Args&) { return RunInDesktopHelper(); }
int RunRegister(const Args&) { return RunInDesktopHelper(); }
int RunClearResults(const Args&) { return RunInDesktopHelper(); }
int RunMail(const Args&) { return RunInDesktopHelper(); }
int RunFetch(const Args&) { return RunInDesktopHelper(); }
int RunIncorporate(const Args&) { return RunInDesktopHelper(); }
int RunChart(const Args&) { return RunInDesktopHelper(); }
int RunReport(const Args&) { return RunInDesktopHelper(); }
int RunPrint(const Args&) { return RunInDesktopHelper(); }
int RunEmailListPrint(const std::string&, const std::string&) { return RunInDesktopHelper(); }

}  // namespace quorvant::cli
