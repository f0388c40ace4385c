// What OK in the directory chooser does with the name it holds: an existing
// directory is taken; a missing one is created (one level) once the person
// agreed, and a failure to create it is reported.
//
// Thread-safety: none; the function holds no state.
#pragma once

#include <functional>
#include <string>

namespace quorvant {

// Asked before creating: "The directory named " + name + " does not
// exists.  Create it?"; true for Yes.
using AskCreateDirectory = std::function<bool(const std::string& question)>;
// Told after a failed creation: "Error creating directory " + name +
// ".  Please try another name."
using ReportDirectoryError = std::function<void(const std::string& message)>;

// True when the chooser may close with OK: the directory exists, or it was
// missing and has just been created. False when the person declined or the
// creation failed (after `report`). Requires: name is an absolute path.
bool AcceptDirectory(const std::string& name, const AskCreateDirectory& ask,
                     const ReportDirectoryError& report);

}  // namespace quorvant
