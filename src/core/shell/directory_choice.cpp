#include "core/shell/directory_choice.h"

#include <filesystem>

#include "core/shell/atomic_file.h"

namespace quorvant {

bool AcceptDirectory(const std::string& name, const AskCreateDirectory& ask,
                     const ReportDirectoryError& report) {
  if (DirectoryExists(name)) return true;
  if (!ask("The directory named " + name + " does not exists.  Create it?")) return false;
  std::error_code error;
  // One level only: a missing parent is a mistyped name more often than not.
  if (std::filesystem::create_directory(name, error) && !error) return true;
  report("Error creating directory " + name + ".  Please try another name.");
  return false;
}

}  // namespace quorvant
