#include "core/emaillists/email_list_transfer.h"

#include <stdexcept>

#include "core/emaillists/csv_text.h"
#include "core/emaillists/email_list.h"
#include "core/shell/atomic_file.h"
#include "core/shell/text_helpers.h"

namespace quorvant {
namespace {

// Removes the blanks and control characters (codes 0 to 32) that end text.
void CutTrailingControls(std::string& text) {
  size_t end = text.size();
  while (end > 0 && static_cast<unsigned char>(text[end - 1]) <= 32) --end;
  text.resize(end);
}

void WriteExport(const std::string& path, const std::string& contents) {
  if (!WriteFileAtomically(path, contents)) {
    throw std::runtime_error("Could not write the file " + path);
  }
}

}  // namespace

EmailImport ImportEmailCsv(TEmailList& list, const std::string& path) {
  const std::optional<std::string> text = ReadWholeFile(path);
  if (!text) throw std::runtime_error("Could not read the file " + path);
  CsvText csv = ParseCsvText(*text);
  const std::vector<CsvRecord>& lines = csv.records;
  std::vector<EmailRecord> records;
  for (size_t i = 1; i < lines.size(); ++i) {
    CsvRecord values = lines[i];
    CutTrailingControls(values.back());
    if (values.size() == 1 && values[0].empty()) continue;
    EmailRecord record;
    for (size_t f = 0; f < record.size() && f < values.size(); ++f) record[f] = values[f];
    records.push_back(std::move(record));
  }
  list.AppendAll(records);
  return {records.size(), std::move(csv.mended_lines)};
}

std::string EmailImportReport(const EmailImport& import) {
  std::string report;
  for (const size_t line : import.mended_lines) {
    report += "Line " + std::to_string(line) +
              " has a quote that is never closed; it was read as plain text\n";
  }
  return report + "Imported " + std::to_string(import.added) + " records";
}

void ExportEmailCsv(TEmailList& list, const std::string& path) {
  std::vector<std::string> names;
  for (const EmailListField& f : kEmailListFields) names.push_back(f.name);
  std::string out = CsvLine(names);
  for (const uint32_t recno : list.RowsInOrder()) {
    const EmailRecord record = list.Read(recno);
    out += CsvLine({record.begin(), record.end()});
  }
  WriteExport(path, out);
}

void ExportEmailText(TEmailList& list, const std::string& path) {
  std::string names, rule;
  for (const EmailListField& f : kEmailListFields) {
    names += FitToWidth(f.name, f.width);
    rule += RepeatText("-", f.width - 1) + " ";
  }
  std::string out = names + "\r\n" + rule + "\r\n";
  for (const uint32_t recno : list.RowsInOrder()) {
    const EmailRecord record = list.Read(recno);
    for (int field = 0; field < kEmailFieldCount; ++field) {
      out += FitToWidth(record[static_cast<size_t>(field)], kEmailListFields[field].width);
    }
    out += "\r\n";
  }
  WriteExport(path, out);
}

}  // namespace quorvant
