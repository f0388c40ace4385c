// The .csv writer: RFC 4180 with CR LF line ends, UTF-8 behind a byte-order
// mark (so that spreadsheet programs do not guess another code page), one
// header line of variable names, then one line per record. A field is
// quoted when it holds a comma, a quote or a line break, quotes doubled.
// Codes and boxes are written as numbers, or with --labels as their labels;
// numbers in their shortest exact form; date-times as YYYY-MM-DD HH:MM:SS;
// missing values as empty fields.
#include <charconv>
#include <cstdio>

#include "core/export/export_file.h"
#include "core/export/export_writer.h"

namespace quorvant {
namespace {

class CsvWriter : public ExportWriter {
 public:
  CsvWriter(const std::string& path, const ExportOptions& options, Env& env)
      : file_(path, env), options_(options) {}

  void Begin(const VariableDictionary& dictionary, uint32_t) override {
    dictionary_ = dictionary;
    file_.Append("\xEF\xBB\xBF");
    for (size_t i = 0; i < dictionary_.variables.size(); ++i) {
      if (i > 0) file_.Append(',');
      Field(dictionary_.variables[i].name);
    }
    file_.Append("\r\n");
  }

  void Row(const std::vector<ExportCell>& cells) override {
    const std::vector<ExportVariable>& variables = dictionary_.variables;
    for (size_t i = 0; i < cells.size(); ++i) {
      if (i > 0) file_.Append(',');
      const ExportCell& cell = cells[i];
      const ExportVariable& v = variables[i];
      if (v.kind == VariableKind::kText) {
        Field(cell.text);
        continue;
      }
      if (cell.missing) continue;
      switch (v.kind) {
        case VariableKind::kCode:
        case VariableKind::kTick:
          if (const std::string* label = options_.labels ? ValueLabelOf(v, cell.number) : nullptr) {
            Field(*label);
            break;
          }
          [[fallthrough]];
        case VariableKind::kNumber: {
          const auto end = std::to_chars(scratch_, scratch_ + sizeof scratch_, cell.number).ptr;
          file_.Append(std::string_view(scratch_, static_cast<size_t>(end - scratch_)));
          break;
        }
        case VariableKind::kDateTime:
          file_.Append(StampText(static_cast<int64_t>(cell.number), scratch_));
          break;
        case VariableKind::kText:
          break;
      }
    }
    file_.Append("\r\n");
  }

  void Finish() override { file_.Commit(); }

 private:
  void Field(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
      file_.Append(text);
      return;
    }
    file_.Append('"');
    for (size_t start = 0;;) {
      const size_t quote = text.find('"', start);
      if (quote == std::string_view::npos) {
        file_.Append(text.substr(start));
        break;
      }
      file_.Append(text.substr(start, quote + 1 - start));
      file_.Append('"');
      start = quote + 1;
    }
    file_.Append('"');
  }

  ExportFile file_;
  ExportOptions options_;
  VariableDictionary dictionary_;
  char scratch_[64] = {};
};

}  // namespace

std::unique_ptr<ExportWriter> MakeCsvWriter(const std::string& path, const ExportOptions& options,
                                            CutReport&, Env& env) {
  return std::make_unique<CsvWriter>(path, options, env);
}

}  // namespace quorvant
