// The user's question libraries (*.qvl), response templates (*.qvt) and
// display templates (*.qvg) in the data directory, as the main window's
// pop-up menu, the question editor and the survey properties list them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorvant {

class SettingsStore;
class TSurvey;

// Full paths of the regular files in data_dir whose extension is ext (with
// its dot) in any letter case, in directory order; none when data_dir cannot
// be read.
std::vector<std::string> FilesInDirectoryOrder(const std::string& data_dir, std::string_view ext);

// Full paths of the question libraries in data_dir, in directory order.
std::vector<std::string> ListQuestionLibraries(const std::string& data_dir);

// The library's "Details"/"Name", "Unknown" when absent or unreadable.
std::string QuestionLibraryName(const std::string& path);

// Appends plain copies of the survey's items `indexes` to the library at
// path and saves it. Throws ESurveyException when the library cannot be read
// or written; the library file is then left as it was.
void AppendToQuestionLibrary(const std::string& path, const TSurvey& survey,
                             const std::vector<int>& indexes, const SettingsStore& settings);

// "ql" + i + ".qvl" for the smallest i from 0 whose file does not exist in
// data_dir (which ends in "/"); the full path.
std::string FreeQuestionLibraryPath(const std::string& data_dir);

// Bare names of the response templates in data_dir, sorted without regard to
// letter case.
std::vector<std::string> ListResponseTemplates(const std::string& data_dir);

// Bare names of the display templates (*.qvg, any letter case) in data_dir,
// sorted without regard to letter case.
std::vector<std::string> ListDisplayTemplates(const std::string& data_dir);

}  // namespace quorvant
