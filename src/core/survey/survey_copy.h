// Save As: saving the open survey under a name the person chose.
#pragma once

#include <string>

namespace quorvant {

class SettingsStore;
class TSurvey;
struct TQuestion;

// Appends a plain copy of item: its text, style, options and settings with a
// new ID, without chart or skip-group settings. Returns its index.
int AppendPlainCopy(TSurvey& to, const TQuestion& item);

// The chosen name with ".qvx" appended unless its extension already is
// ".qvx" in any letter case.
std::string WithSurveyExtension(const std::string& chosen);

// Saves `survey` as `path` (already carrying its extension). A survey without
// a file, or saved under its own name, is saved in place with its
// response-table name cleared; returns false. Otherwise a fresh copy is
// written to `path`: a new unique name and unpublished status, the items'
// texts and settings and the survey's properties, but no skip groups,
// publishing state, history or responses; returns true, and the caller then
// opens `path` in place of the survey. Throws ESurveyException when the file
// cannot be written, leaving the survey as it was.
bool SaveSurveyAs(TSurvey& survey, const std::string& path, const SettingsStore& settings);

}  // namespace quorvant
