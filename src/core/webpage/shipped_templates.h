// The files shipped with the program and the display templates copied from
// them into the user's data directory.
//
// The shipped data folder is found, first match wins:
//   1. $QUORVANT_SHARE_DIR when set and not empty (used as given);
//   2. share/quorvant beside the program's bin/ folder, as an installation
//      lays it out (<prefix>/bin/quorvant, <prefix>/share/quorvant);
//   3. the data/ folder of the source tree the program was built from, so
//      that programs run from a build tree find the files they ship.
// The folder holds templates/*.qvg (the display templates) among others.
//
// Thread-safety: the functions hold no state.
#pragma once

#include <string>

namespace quorvant {

// The shipped data folder, ending in "/"; empty when none is found.
std::string ShippedDataDirectory();

// Copies every shipped display template (shipped_dir + "templates/*.qvg")
// into data_dir when no file of that name is there; an existing file is never
// touched. Creates data_dir when missing. Returns the number of templates
// copied. Failures are silent: the templates are a convenience, and the next
// start tries again.
int InstallShippedTemplates(const std::string& shipped_dir, const std::string& data_dir);

}  // namespace quorvant
