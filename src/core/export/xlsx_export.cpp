// The .xlsx writer: libxlsxwriter in its constant-memory mode, which writes
// each row as it comes. Sheet "Responses" has a header row of variable
// names and one row per record (codes and boxes as numbers, or with
// --labels as their labels; date-times as dates shown yyyy-mm-dd hh:mm:ss;
// missing values as empty cells; line breaks as the line feeds a cell
// breaks lines with, since a carriage return would stand in the cell as
// the escape _x000D_). Sheet "Variables" lists each variable's
// name, question, type and value labels. A cell holds at most 32767
// characters and a sheet 1048576 rows.
#include <xlsxwriter.h>

#include <stdexcept>

#include "core/export/export_file.h"
#include "core/export/export_writer.h"

namespace quorvant {
namespace {

constexpr uint32_t kMaxRows = 1048576;
// Days from 1899-12-30, day 0 of the spreadsheet programs, to 1970-01-01.
constexpr double kSheetEpochDays = 25569;
const TextLimit kCellLimit = {.characters = 32767};

class XlsxWriter : public ExportWriter {
 public:
  XlsxWriter(const std::string& path, const ExportOptions& options, CutReport& report, Env& env)
      : path_(path),
        temporary_(ExportFile::TemporaryPathFor(path)),
        options_(options),
        report_(report),
        env_(env) {
    lxw_workbook_options settings = {};
    settings.constant_memory = LXW_TRUE;
    settings.use_zip64 = LXW_TRUE;
    book_ = workbook_new_opt(temporary_.c_str(), &settings);
    if (book_ == nullptr) throw std::runtime_error("Unable to write to " + path_);
  }

  ~XlsxWriter() override {
    if (book_ == nullptr) return;
    workbook_close(book_);
    try {
      env_.Remove(temporary_);
    } catch (const std::exception&) {
      // Nothing more can be done for a file that cannot be removed.
    }
  }

  void Begin(const VariableDictionary& dictionary, uint32_t records) override {
    if (records >= kMaxRows) {
      throw std::runtime_error("Unable to write to " + path_ + ": " + std::to_string(records) +
                               " records are more than a worksheet holds.");
    }
    dictionary_ = dictionary;
    responses_ = workbook_add_worksheet(book_, "Responses");
    lxw_worksheet* variables = workbook_add_worksheet(book_, "Variables");
    stamp_ = workbook_add_format(book_);
    format_set_num_format(stamp_, "yyyy-mm-dd hh:mm:ss");
    lxw_format* bold = workbook_add_format(book_);
    format_set_bold(bold);
    for (size_t i = 0; i < dictionary_.variables.size(); ++i) {
      Text(responses_, 0, i, dictionary_.variables[i].name, bold);
    }
    const char* const kHeads[] = {"Name", "Question", "Type", "Value labels"};
    for (size_t c = 0; c < 4; ++c) Text(variables, 0, c, kHeads[c], bold);
    for (size_t i = 0; i < dictionary_.variables.size(); ++i) {
      const ExportVariable& v = dictionary_.variables[i];
      const auto row = static_cast<lxw_row_t>(i + 1);
      Text(variables, row, 0, v.name);
      Text(variables, row, 1, v.label);
      Text(variables, row, 2, v.type_name);
      Text(variables, row, 3, ValueLabelsText(v));
    }
  }

  void Row(const std::vector<ExportCell>& cells) override {
    ++row_;
    for (size_t i = 0; i < cells.size(); ++i) {
      const ExportCell& cell = cells[i];
      const ExportVariable& v = dictionary_.variables[i];
      if (v.kind == VariableKind::kText) {
        if (!cell.text.empty()) Text(responses_, row_, i, cell.text);
        continue;
      }
      if (cell.missing) continue;
      switch (v.kind) {
        case VariableKind::kCode:
        case VariableKind::kTick:
          if (const std::string* label = options_.labels ? ValueLabelOf(v, cell.number) : nullptr) {
            Text(responses_, row_, i, *label);
            break;
          }
          [[fallthrough]];
        case VariableKind::kNumber:
          Check(worksheet_write_number(responses_, row_, Column(i), cell.number, nullptr));
          break;
        case VariableKind::kDateTime:
          Check(worksheet_write_number(responses_, row_, Column(i),
                                       cell.number / 86400.0 + kSheetEpochDays, stamp_));
          break;
        case VariableKind::kText:
          break;
      }
    }
  }

  void Finish() override {
    const lxw_error error = workbook_close(book_);
    book_ = nullptr;
    if (error != LXW_NO_ERROR) {
      env_.Remove(temporary_);
      throw std::runtime_error("Unable to write to " + path_ + ": " + lxw_strerror(error));
    }
    ExportFile::Replace(env_, temporary_, path_);
  }

 private:
  static lxw_col_t Column(size_t i) { return static_cast<lxw_col_t>(i); }

  void Check(lxw_error error) const {
    if (error != LXW_NO_ERROR) {
      throw std::runtime_error("Unable to write to " + path_ + ": " + lxw_strerror(error));
    }
  }

  void Text(lxw_worksheet* sheet, lxw_row_t row, size_t column, std::string_view text,
            lxw_format* format = nullptr) {
    // Bytes bound characters, so only a long text needs counting.
    if (text.size() > kCellLimit.characters) {
      text = report_.Cut(text, kCellLimit, "a text in column " + std::to_string(column + 1));
    }
    scratch_.clear();
    for (size_t i = 0; i < text.size(); ++i) {
      if (text[i] != '\r') {
        scratch_.push_back(text[i]);
      } else if (i + 1 == text.size() || text[i + 1] != '\n') {
        scratch_.push_back('\n');
      }
    }
    Check(worksheet_write_string(sheet, row, Column(column), scratch_.c_str(), format));
  }

  std::string path_;
  std::string temporary_;
  ExportOptions options_;
  CutReport& report_;
  Env& env_;
  lxw_workbook* book_ = nullptr;
  lxw_worksheet* responses_ = nullptr;
  lxw_format* stamp_ = nullptr;
  VariableDictionary dictionary_;
  lxw_row_t row_ = 0;
  std::string scratch_;
};

}  // namespace

std::unique_ptr<ExportWriter> MakeXlsxWriter(const std::string& path, const ExportOptions& options,
                                             CutReport& report, Env& env) {
  return std::make_unique<XlsxWriter>(path, options, report, env);
}

}  // namespace quorvant
