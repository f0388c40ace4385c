#include "core/emaillists/csv_text.h"

#include <cassert>
#include <optional>

#include "core/shell/text_helpers.h"

namespace quorvant {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Reads one record from text at pos; pos ends after its line break. A quote
// at position plain_quote opens nothing: it is an ordinary character. When
// a quoted value reaches the end of the text, the position of its opening
// quote is returned in open_quote.
CsvRecord ParseRecord(std::string_view text, size_t& pos, size_t plain_quote,
                      std::optional<size_t>& open_quote) {
  CsvRecord record(1);
  bool quoted = false;   // inside an open quote
  bool at_start = true;  // nothing of the current value read yet
  size_t opened = 0;     // where the open quote stands
  while (pos < text.size()) {
    const char c = text[pos++];
    if (quoted) {
      if (c != '"') {
        record.back() += c;
      } else if (pos < text.size() && text[pos] == '"') {
        record.back() += '"';
        ++pos;
      } else {
        quoted = false;
      }
      continue;
    }
    if (c == ',') {
      record.emplace_back();
      at_start = true;
      continue;
    }
    if (c == '\r' || c == '\n') {
      if (c == '\r' && pos < text.size() && text[pos] == '\n') ++pos;
      return record;
    }
    if (c == '"' && at_start && pos - 1 != plain_quote) {
      quoted = true;
      opened = pos - 1;
    } else {
      record.back() += c;
    }
    at_start = false;
  }
  if (quoted) open_quote = opened;
  return record;
}

// The line (from 1) on which position pos of text stands.
size_t LineAt(std::string_view text, size_t pos) {
  size_t line = 1;
  for (size_t i = 0; i < pos; ++i) {
    // i + 1 <= pos, and pos is within text.
    if (text[i] == '\n' || (text[i] == '\r' && text[i + 1] != '\n')) ++line;
  }
  return line;
}

}  // namespace

CsvText ParseCsvText(std::string_view text) {
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  CsvText out;
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t start = pos;
    std::optional<size_t> open_quote;
    CsvRecord record = ParseRecord(text, pos, std::string_view::npos, open_quote);
    if (open_quote) {
      // Read the record again with that quote as a character: it then ends
      // at the line break after the quote, and what follows is read anew.
      pos = start;
      // Every later quote pairs up within its own run (see the header), so
      // this reading cannot reach the end inside quotes.
      std::optional<size_t> again;
      record = ParseRecord(text, pos, *open_quote, again);
      assert(!again);
      out.mended_lines.push_back(LineAt(text, *open_quote));
    }
    out.records.push_back(std::move(record));
  }
  return out;
}

std::vector<CsvRecord> ParseCsv(std::string_view text) { return ParseCsvText(text).records; }

std::string CsvField(std::string_view value) {
  if (FindFirstOf(value, ",\"\r\n") == std::string_view::npos) return std::string(value);
  std::string out = "\"";
  for (const char c : value) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

std::string CsvLine(const std::vector<std::string>& values) {
  std::string line;
  for (size_t i = 0; i < values.size(); ++i) {
    if (i > 0) line += ',';
    line += CsvField(values[i]);
  }
  return line + "\r\n";
}

}  // namespace quorvant
