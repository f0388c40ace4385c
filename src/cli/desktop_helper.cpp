#include "cli/desktop_helper.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

namespace quorvant::cli {
namespace {

char** program_arguments = nullptr;

// Set in the helper's environment, so that a helper that is itself only the
// forwarding program stops instead of starting itself for ever.
constexpr char kForwardedVariable[] = "QUORVANT_CLI_FORWARDED";

// Next to this program in a build tree; in an installed system, in the
// libexec folder of the installation.
std::string HelperPath() {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return "quorvant-cli-desktop";
  const std::filesystem::path beside = self.parent_path() / "quorvant-cli-desktop";
  if (::access(beside.c_str(), X_OK) == 0) return beside.string();
  return (self.parent_path() / QUORVANT_INSTALLED_HELPER).lexically_normal().string();
}

}  // namespace

void SetProgramArguments(char** argv) { program_arguments = argv; }

int RunInDesktopHelper() {
  if (std::getenv(kForwardedVariable) != nullptr) {
    std::fprintf(stderr, "quorvant-cli: this command is not built into quorvant-cli-desktop\n");
    return 1;
  }
  const std::string helper = HelperPath();
  ::setenv(kForwardedVariable, "1", 1);
  std::fflush(nullptr);
  if (program_arguments != nullptr) ::execv(helper.c_str(), program_arguments);
  std::fprintf(stderr, "quorvant-cli: this command needs %s, which could not be started: %s\n",
               helper.c_str(), std::strerror(errno));
  return 1;
}

}  // namespace quorvant::cli
