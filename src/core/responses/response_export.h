// Export Responses: a copy of the response table under a name the author
// chose, and the field-mapping text beside it.
//
// Thread-safety: none beyond that of the table given.
#pragma once

#include <functional>
#include <string>

namespace quorvant {

class Prompts;
class Table;
class TSurvey;

// The chosen name with ".dbf" appended unless its extension, in any letter
// case, is already ".dbf".
std::string ExportTableName(const std::string& chosen);

// The export name with its extension replaced by ".txt".
std::string MappingFileName(const std::string& export_name);

// "The responses for this survey have been generated and saved in the dBase
// file named " + N + ".  A text file containing field mapping information
// will now be generated."
std::string ExportInfoText(const std::string& export_name);

// Where the export went, said at its end: "The responses were written to "
// + N + " and their field mapping to " + the mapping text's name + ".".
std::string ExportWrittenText(const std::string& export_name);

// Copies the open table to export_name (replacing files of that name) and
// writes the mapping text beside it. Throws ETableError when the copy fails
// and std::runtime_error ("Unable to write to " + name) when the mapping
// text cannot be written.
void WriteResponseExport(const TSurvey& survey, Table& table, const std::string& export_name);

// The whole command after the save dialog: the name rule, the copy, the
// information box, the mapping text, the box ExportWrittenText, then
// open_text(mapping file name).
// Errors are thrown as by WriteResponseExport; the information box is shown
// only once the copy exists.
void ExportResponses(const TSurvey& survey, Table& table, const std::string& chosen,
                     Prompts& prompts, const std::function<void(const std::string&)>& open_text);

}  // namespace quorvant
