// Handing a command over to quorvant-cli-desktop, the program that holds
// the commands needing Qt, the network or the keyring. Keeping those out of
// quorvant-cli spares every other command the loading of some eighty
// libraries at start.
#pragma once

namespace quorvant::cli {

// Keeps the program's arguments for a later hand-over (argv stays valid
// for the life of the process).
void SetProgramArguments(char** argv);

// Replaces this process by quorvant-cli-desktop with the same arguments.
// Returns only when that fails: 1, after saying why on stderr.
int RunInDesktopHelper();

}  // namespace quorvant::cli
