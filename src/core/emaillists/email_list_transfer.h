// Import and export of e-mail lists: comma-separated files both ways and the
// fixed-column text file. Exports write the records in the list's active
// order, deleted records left out, each line ended by CR LF, and replace the
// file atomically.
//
// Failures throw std::runtime_error with the message to show; the list is
// left as it was (an import adds nothing when its file cannot be read).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace quorvant {

class TEmailList;

struct EmailImport {
  size_t added = 0;                  // records added
  std::vector<size_t> mended_lines;  // lines read as plain text (csv_text.h)
};

// Adds a record for every line of the comma-separated file after the first
// (a header): its first three values are the first name, last name and
// address; further values are ignored, missing ones are empty. Blanks and
// control characters that end a line are cut. Empty lines add nothing. A
// quote that is never closed does not swallow the rest of the file: its
// line is read as plain text and named in the result.
EmailImport ImportEmailCsv(TEmailList& list, const std::string& path);

// What an import did, one line each: every mended line, then the number of
// records added ("Imported 3 records"). Lines are joined by LF.
std::string EmailImportReport(const EmailImport& import);

// The line "FNAME,LNAME,EMAIL", then one line per record.
void ExportEmailCsv(TEmailList& list, const std::string& path);

// Columns as wide as the fields (30, 30, 200 characters), a longer text cut,
// a shorter one padded with blanks; the field names, a line of hyphens (each
// column width - 1 hyphens and a blank), then one line per record.
void ExportEmailText(TEmailList& list, const std::string& path);

}  // namespace quorvant
