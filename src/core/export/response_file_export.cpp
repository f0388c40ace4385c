#include "core/export/response_file_export.h"

#include <algorithm>

#include "core/export/record_cells.h"
#include "core/responses/response_export.h"
#include "core/shell/prompts.h"
#include "core/shell/text_helpers.h"
#include "core/tableengine/table.h"

namespace quorvant {
namespace {

struct TypeEntry {
  const char* extension;
  ExportFormat format;
  WriterFactory make;
};

constexpr TypeEntry kTypes[] = {
    {".dbf", ExportFormat::kDbf, nullptr},         {".csv", ExportFormat::kCsv, &MakeCsvWriter},
    {".xlsx", ExportFormat::kXlsx, &MakeXlsxWriter}, {".sav", ExportFormat::kSav, &MakeSavWriter},
    {".dta", ExportFormat::kDta, &MakeDtaWriter},
};

// The extension of the file name (with its dot), empty when it has none.
std::string_view Extension(std::string_view chosen) {
  const size_t slash = chosen.find_last_of('/');
  const size_t dot = chosen.find_last_of('.');
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return {};
  return chosen.substr(dot);
}

// The longest memo text of each memo variable, for formats that fix string
// widths before the first record.
class MemoMeasure : public RecordVisitor {
 public:
  explicit MemoMeasure(VariableDictionary& dictionary) : dictionary_(dictionary) {}
  void Visit(std::string_view, RecordSource& source) override {
    for (ExportVariable& v : dictionary_.variables) {
      if (!v.memo || v.field < 0) continue;
      v.text_bytes = std::max(v.text_bytes, source.MemoText(v.field).size());
    }
  }

 private:
  VariableDictionary& dictionary_;
};

class RowStream : public RecordVisitor {
 public:
  RowStream(const VariableDictionary& dictionary, ExportWriter& writer)
      : cells_(dictionary), writer_(writer) {}
  void Visit(std::string_view bytes, RecordSource& source) override {
    cells_.Read(bytes, source);
    writer_.Row(cells_.cells());
  }

 private:
  RecordCells cells_;
  ExportWriter& writer_;
};

}  // namespace

std::optional<ExportFormat> ExportFormatOfName(const std::string& chosen) {
  const std::string_view extension = Extension(chosen);
  if (extension.empty()) return ExportFormat::kDbf;
  for (const TypeEntry& type : kTypes) {
    if (EqualsIgnoreCase(extension, type.extension)) return type.format;
  }
  return std::nullopt;
}

std::string UnknownExportTypeText(const std::string& chosen) {
  return "Responses cannot be exported as \"" + std::string(Extension(chosen)) +
         "\" files; choose a name ending in .dbf, .csv, .xlsx, .sav or .dta.";
}

ExportSummary WriteResponseFile(const TSurvey& survey, Table& table, const std::string& path,
                                ExportFormat format, const ExportOptions& options, Env& env) {
  const auto type = std::find_if(std::begin(kTypes), std::end(kTypes),
                                 [&](const TypeEntry& t) { return t.format == format; });
  CutReport report;
  std::unique_ptr<ExportWriter> writer = type->make(path, options, report, env);
  VariableDictionary dictionary = BuildVariableDictionary(survey, table.Fields());
  if (writer->NeedsTextWidths() && dictionary.HasMemo()) {
    MemoMeasure measure(dictionary);
    table.ScanQuery(measure);
  }
  ExportSummary summary;
  writer->Begin(dictionary, table.QueryCount());
  RowStream rows(dictionary, *writer);
  summary.records = table.ScanQuery(rows);
  writer->Finish();
  summary.cut_notice = report.Text(type->extension);
  return summary;
}

std::string ResponseFileWrittenText(const std::string& path, const ExportSummary& summary) {
  return "The responses (" + std::to_string(summary.records) +
         (summary.records == 1 ? " record" : " records") + ") were written to " + path + ".";
}

void ExportResponsesByType(const TSurvey& survey, Table& table, const std::string& chosen,
                           const ExportOptions& options, Prompts& prompts,
                           const std::function<void(const std::string&)>& open_text) {
  const std::optional<ExportFormat> format = ExportFormatOfName(chosen);
  if (!format) {
    prompts.ShowError(UnknownExportTypeText(chosen));
    return;
  }
  if (*format == ExportFormat::kDbf) {
    ExportResponses(survey, table, chosen, prompts, open_text);
    return;
  }
  const ExportSummary summary = WriteResponseFile(survey, table, chosen, *format, options);
  if (!summary.cut_notice.empty()) prompts.ShowInfo(summary.cut_notice);
  prompts.ShowInfo(ResponseFileWrittenText(chosen, summary));
}

}  // namespace quorvant
