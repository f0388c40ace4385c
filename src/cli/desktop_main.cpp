// quorvant-cli-desktop: every command of quorvant-cli, with the ones that
// need Qt (charts, printing), the network or the keyring. quorvant-cli
// hands those over to it; it can also be run directly.
#include "cli/cli_main.h"

int main(int argc, char** argv) { return quorvant::cli::CliMain(argc, argv); }
