// The shared entry of quorvant-cli and quorvant-cli-desktop.
#pragma once

namespace quorvant::cli {

// Runs the command that argv names; the process exit status.
int CliMain(int argc, char** argv);

}  // namespace quorvant::cli
