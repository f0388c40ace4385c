// quorvant-cli: survey operations for scripts and terminals. This program
// holds the commands that need nothing beyond the core, so that it starts
// at once; the ones that draw, print or use the network run in
// quorvant-cli-desktop, to which it hands them over.
#include "cli/cli_main.h"

int main(int argc, char** argv) { return quorvant::cli::CliMain(argc, argv); }
