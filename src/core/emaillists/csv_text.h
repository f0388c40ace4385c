// Comma-separated text as RFC 4180 has it: values separated by commas,
// records by line breaks (CR LF, LF or CR are all read), a value in double
// quotes may hold commas, line breaks and doubled quotes.
//
// Reading is lenient, as spreadsheet programs are: a quote inside an
// unquoted value is kept as it is, and text after a closing quote is added
// to the value. A quote that opens a value and is never closed would take
// the rest of the text; instead the line it stands on is read as plain text
// (split at commas, its quotes kept as characters) and reading goes on with
// the next line. Such a line is reported; a text can have at most one, since
// every quote after it pairs up within its own run of quotes.
//
// Thread-safety: all functions are pure.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorvant {

using CsvRecord = std::vector<std::string>;

struct CsvText {
  std::vector<CsvRecord> records;
  // The lines (the first is 1) that were read as plain text because a
  // quoted value on them reached the end of the text.
  std::vector<size_t> mended_lines;
};

// Every record of the text, a UTF-8 byte-order mark at its start skipped.
// A line break at the very end ends the last record; an empty line gives a
// record with one empty value.
CsvText ParseCsvText(std::string_view text);
// The records alone.
std::vector<CsvRecord> ParseCsv(std::string_view text);

// The value as a field of a line: in double quotes, inner quotes doubled,
// when it holds a comma, a double quote, CR or LF; else as it is.
std::string CsvField(std::string_view value);

// The values as fields, joined by commas, followed by CR LF.
std::string CsvLine(const std::vector<std::string>& values);

}  // namespace quorvant
