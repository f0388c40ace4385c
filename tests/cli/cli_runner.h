// Runs the real quorvant-cli with its settings in a test's folder, keeping
// what it writes to stdout and stderr apart.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "core/shell/atomic_file.h"

namespace quorvant::testing {

struct CliRun {
  int status = -1;
  std::string out;
  std::string err;
};

// dir: a folder of the test's own (settings and the captured output go there).
inline CliRun RunCli(const std::string& dir, const std::string& args) {
  const std::string command = "QUORVANT_CONFIG_DIR='" + dir + "/config' '" + QUORVANT_CLI_PATH +
                              "' " + args + " >'" + dir + "/cli.out' 2>'" + dir + "/cli.err'";
  const int raw = std::system(command.c_str());
  CliRun run;
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  run.out = ReadWholeFile(dir + "/cli.out").value_or("");
  run.err = ReadWholeFile(dir + "/cli.err").value_or("");
  return run;
}

}  // namespace quorvant::testing
