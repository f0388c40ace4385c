#include "core/export/readstat_export.h"

#include <algorithm>
#include <stdexcept>

#include "core/export/export_file.h"

namespace quorvant {
namespace {

class ReadStatWriter : public ExportWriter {
 public:
  ReadStatWriter(const std::string& path, const ReadStatProfile& profile, CutReport& report,
                 Env& env)
      : file_(path, env), profile_(profile), report_(report), writer_(readstat_writer_init()) {
    if (writer_ == nullptr) throw std::runtime_error("Unable to write to " + path);
    readstat_set_data_writer(writer_, &ReadStatWriter::Write);
  }
  ~ReadStatWriter() override { readstat_writer_free(writer_); }

  bool NeedsTextWidths() const override { return true; }

  void Begin(const VariableDictionary& dictionary, uint32_t records) override {
    dictionary_ = FitDictionary(dictionary, profile_.limits, report_);
    if (profile_.compress_rows) readstat_writer_set_compression(writer_, READSTAT_COMPRESS_ROWS);
    for (const ExportVariable& v : dictionary_.variables) variables_.push_back(Define(v));
    Check(profile_.begin(writer_, this, static_cast<long>(records)));
  }

  void Row(const std::vector<ExportCell>& cells) override {
    Check(readstat_begin_row(writer_));
    for (size_t i = 0; i < cells.size(); ++i) Insert(i, cells[i]);
    Check(readstat_end_row(writer_));
  }

  void Finish() override {
    Check(readstat_end_writing(writer_));
    file_.Commit();
  }

 private:
  static ssize_t Write(const void* data, size_t len, void* context) {
    auto* self = static_cast<ReadStatWriter*>(context);
    try {
      self->file_.Append(std::string_view(static_cast<const char*>(data), len));
    } catch (const std::exception&) {
      self->write_failed_ = true;
      return -1;
    }
    return static_cast<ssize_t>(len);
  }

  void Check(readstat_error_t error) const {
    if (error == READSTAT_OK) return;
    std::string message = "Unable to write to " + file_.path();
    if (!write_failed_) message += std::string(": ") + readstat_error_message(error);
    throw std::runtime_error(message);
  }

  readstat_label_set_t* LabelSet(const ExportVariable& v) {
    if (v.kind == VariableKind::kTick) {
      if (ticks_ != nullptr) return ticks_;
    }
    const std::string name = v.kind == VariableKind::kTick ? "selected" : "L" + v.name;
    readstat_label_set_t* set = readstat_add_label_set(writer_, profile_.code_type, name.c_str());
    for (const ValueLabel& l : v.value_labels) {
      if (profile_.code_type == READSTAT_TYPE_DOUBLE) {
        readstat_label_double_value(set, l.value, l.label.c_str());
      } else {
        readstat_label_int32_value(set, l.value, l.label.c_str());
      }
    }
    if (v.kind == VariableKind::kTick) ticks_ = set;
    return set;
  }

  readstat_variable_t* Define(const ExportVariable& v) {
    readstat_type_t type = READSTAT_TYPE_DOUBLE;
    size_t width = 0;
    if (v.kind == VariableKind::kCode || v.kind == VariableKind::kTick) type = profile_.code_type;
    if (v.kind == VariableKind::kText) {
      width = std::clamp<size_t>(v.text_bytes, 1, profile_.max_string);
      type = profile_.long_texts && v.text_bytes > profile_.max_string ? READSTAT_TYPE_STRING_REF
                                                                        : READSTAT_TYPE_STRING;
    }
    readstat_variable_t* variable = readstat_add_variable(writer_, v.name.c_str(), type, width);
    readstat_variable_set_label(variable, v.label.c_str());
    if (profile_.number_format != nullptr && v.kind != VariableKind::kText &&
        v.kind != VariableKind::kDateTime) {
      readstat_variable_set_format(variable, profile_.number_format);
    }
    switch (v.kind) {
      case VariableKind::kCode:
      case VariableKind::kTick:
        readstat_variable_set_label_set(variable, LabelSet(v));
        readstat_variable_set_measure(variable, READSTAT_MEASURE_NOMINAL);
        break;
      case VariableKind::kNumber:
        if (!profile_.tagged_missing) {
          Check(readstat_variable_add_missing_double_value(variable, kMissingNumber));
        }
        readstat_variable_set_measure(variable, READSTAT_MEASURE_SCALE);
        break;
      case VariableKind::kDateTime:
        readstat_variable_set_format(variable, profile_.datetime_format);
        readstat_variable_set_measure(variable, READSTAT_MEASURE_SCALE);
        break;
      case VariableKind::kText:
        readstat_variable_set_measure(variable, READSTAT_MEASURE_NOMINAL);
        break;
    }
    return variable;
  }

  void Insert(size_t i, const ExportCell& cell) {
    const ExportVariable& v = dictionary_.variables[i];
    readstat_variable_t* variable = variables_[i];
    if (v.kind == VariableKind::kText) {
      const readstat_type_t type = readstat_variable_get_type(variable);
      TextLimit limit;
      if (type != READSTAT_TYPE_STRING_REF) limit.bytes = readstat_variable_get_storage_width(variable);
      if (cell.text.size() > limit.bytes) {
        text_.assign(report_.Cut(cell.text, limit, "a text of " + v.name));
      } else {
        text_.assign(cell.text);
      }
      if (type == READSTAT_TYPE_STRING_REF) {
        Check(readstat_insert_string_ref(writer_, variable,
                                         readstat_add_string_ref(writer_, text_.c_str())));
      } else {
        Check(readstat_insert_string_value(writer_, variable, text_.c_str()));
      }
      return;
    }
    if (cell.missing) {
      Check(readstat_insert_missing_value(writer_, variable));
      return;
    }
    if (v.kind == VariableKind::kNumber && profile_.tagged_missing && cell.number == kMissingNumber) {
      Check(readstat_insert_tagged_missing_value(writer_, variable, 'a'));
      return;
    }
    const double x = v.kind == VariableKind::kDateTime
                         ? profile_.datetime_value(static_cast<int64_t>(cell.number))
                         : cell.number;
    if (readstat_variable_get_type(variable) == READSTAT_TYPE_INT32) {
      Check(readstat_insert_int32_value(writer_, variable, static_cast<int32_t>(x)));
    } else {
      Check(readstat_insert_double_value(writer_, variable, x));
    }
  }

  ExportFile file_;
  const ReadStatProfile& profile_;
  CutReport& report_;
  readstat_writer_t* writer_;
  VariableDictionary dictionary_;
  std::vector<readstat_variable_t*> variables_;
  readstat_label_set_t* ticks_ = nullptr;
  std::string text_;
  bool write_failed_ = false;
};

}  // namespace

std::unique_ptr<ExportWriter> MakeReadStatWriter(const std::string& path,
                                                 const ReadStatProfile& profile,
                                                 CutReport& report, Env& env) {
  return std::make_unique<ReadStatWriter>(path, profile, report, env);
}

}  // namespace quorvant
