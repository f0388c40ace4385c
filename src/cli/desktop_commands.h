// The commands that only quorvant-cli-desktop holds (they need Qt, the
// network or the keyring). Each takes its arguments as the other commands
// do (commands.h) and runs through DesktopCommand().
#pragma once

#include "cli/commands.h"

namespace quorvant::cli {

int RunVerify(const Args& args);
int RunRegister(const Args& args);
int RunClearResults(const Args& args);
int RunMail(const Args& args);
int RunFetch(const Args& args);
int RunIncorporate(const Args& args);
int RunChart(const Args& args);
int RunReport(const Args& args);
int RunPrint(const Args& args);
// emaillist print: args are the list file and the PDF file.
int RunEmailListPrint(const Args& args);

}  // namespace quorvant::cli
