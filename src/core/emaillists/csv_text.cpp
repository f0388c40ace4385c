#include "core/emaillists/csv_text.h"

#include "core/shell/text_helpers.h"

namespace quorvant {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Reads one record from text at pos; pos ends after its line break.
CsvRecord ParseRecord(std::string_view text, size_t& pos) {
  CsvRecord record(1);
  bool quoted = false;   // inside an open quote
  bool at_start = true;  // nothing of the current value read yet
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
    if (c == '"' && at_start) {
      quoted = true;
    } else {
      record.back() += c;
    }
    at_start = false;
  }
  return record;
}

}  // namespace

std::vector<CsvRecord> ParseCsv(std::string_view text) {
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  std::vector<CsvRecord> records;
  size_t pos = 0;
  while (pos < text.size()) records.push_back(ParseRecord(text, pos));
  return records;
}

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
