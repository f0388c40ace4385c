// Helpers that reach the operating system: temporary file names, opening a
// file or address with the desktop's program, waiting while events are
// processed, and the program's version text.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/env/env.h"

namespace quorvant {

// The temporary folder ($TMPDIR, else /tmp), "/qv", the current time (env's
// clock) as hour, minute and second without leading zeros, ".", ext. When no
// temporary folder is usable: "eraseme." + ext.
std::string MakeTempFileName(std::string_view ext, Env& env = DefaultEnv());

// Creates a new empty file, readable only by the user, named as
// MakeTempFileName(ext) would, with "-2", "-3" ... before the extension when
// that name is taken, so that two runs in one second never share a file.
// Returns its name, or "" when no file could be made.
std::string CreateTempFile(std::string_view ext);

// Starts a program (looked up in PATH) without waiting for it; failures are
// silent. The program is not our child, so it never lingers as a zombie.
void RunDetached(const std::vector<std::string>& argv);

// Asks the desktop (xdg-open) to open a file or web address. Does not wait
// and does not report failure.
void ShellOpen(const std::string& target);

// Calls process_events repeatedly until ms milliseconds have passed on the
// monotonic clock. Without process_events it simply sleeps.
void Delay(int ms, const std::function<void()>& process_events = {});

// "major.minor  (Build n)" of this build.
std::string FileVersionText();

}  // namespace quorvant
