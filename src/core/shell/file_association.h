// The desktop's association of survey files (*.qvx) with this program. An
// installed program has its desktop entry, MIME package and icon in the
// system's places; a program run from where it was built has none there,
// so it writes per-user copies under $XDG_DATA_HOME (~/.local/share when
// unset) at every start.
#pragma once

#include <string>

namespace quorvant {

// The MIME type of survey files.
inline constexpr char kSurveyMimeType[] = "application/x-quorvant-survey";

// The name by which the desktop knows this program: its desktop entry is
// kDesktopEntryId + ".desktop", its MIME package and icon carry the same
// name. Chosen once and kept, since menus, file associations and the
// desktop's record of windows refer to it.
inline constexpr char kDesktopEntryId[] = "org.quorvant.Quorvant";

// When `program_path` is an installed program (its desktop entry in
// share/applications beside its bin/), removes the per-user copies, so that
// the installed ones are in force and the menu lists the program once.
// Otherwise writes the shipped MIME package and desktop entry of
// `shipped_dir` (its desktop/ folder) under $XDG_DATA_HOME, the entry
// starting `program_path` and showing the shipped drawing, rewriting only
// what differs. Either way removes the copies that earlier versions wrote
// under other names, and asks the desktop's databases to refresh when
// something changed. Best effort: nothing is reported. Returns true when a
// file was written or removed.
bool RegisterFileType(const std::string& program_path, const std::string& shipped_dir);

// The shipped desktop entry `entry` with its Exec and TryExec naming
// `program_path` and its Icon `icon_path`.
std::string DesktopEntryText(const std::string& entry, const std::string& program_path,
                             const std::string& icon_path);

}  // namespace quorvant
