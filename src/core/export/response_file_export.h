// Export Responses for every file type: the dBase table as it always was
// (response_export.h), and the research formats .csv, .xlsx, .sav and .dta
// written from one variable dictionary (export_dictionary.h) under the
// analysis filter. The command line and the window both come here.
//
// Thread-safety: none beyond that of the table given.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/env/env.h"
#include "core/export/export_writer.h"

namespace quorvant {

class Prompts;
class Table;
class TSurvey;

enum class ExportFormat { kDbf, kCsv, kXlsx, kSav, kDta };

// The format a chosen file name asks for by its extension, in any letter
// case. A name without an extension is a dBase table (".dbf" is appended,
// as ExportTableName does). Nothing for any other extension.
std::optional<ExportFormat> ExportFormatOfName(const std::string& chosen);

// "Responses cannot be exported as \".txt\" files; choose a name ending in
// .dbf, .csv, .xlsx, .sav or .dta."
std::string UnknownExportTypeText(const std::string& chosen);

struct ExportSummary {
  uint32_t records = 0;
  std::string cut_notice;  // the first cut, said once; empty when none
};

// Writes every record of the table that satisfies its query (the Analysis
// page's filter), in physical order, to path in format, replacing a file
// of that name atomically. Requires: format is not kDbf; the table is open.
// Throws ETableError when the table cannot be read and std::runtime_error
// ("Unable to write to " + path ...) when the file cannot be written; no
// file is left behind then.
ExportSummary WriteResponseFile(const TSurvey& survey, Table& table, const std::string& path,
                                ExportFormat format, const ExportOptions& options,
                                Env& env = DefaultEnv());

// "The responses (N records) were written to " + path + "."
std::string ResponseFileWrittenText(const std::string& path, const ExportSummary& summary);

// The whole command after the save dialog: a dBase table as ExportResponses
// does it; another known type through WriteResponseFile, then the cut
// notice (when there is one) and ResponseFileWrittenText as information
// boxes; an unknown type the error box UnknownExportTypeText, nothing
// written. Write errors are thrown as above.
void ExportResponsesByType(const TSurvey& survey, Table& table, const std::string& chosen,
                           const ExportOptions& options, Prompts& prompts,
                           const std::function<void(const std::string&)>& open_text);

}  // namespace quorvant
