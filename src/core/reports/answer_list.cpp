#include "core/reports/answer_list.h"

#include <exception>

#include "core/shell/text_helpers.h"
#include "core/tableengine/table.h"

namespace quorvant {
namespace {

// Reads some fields of the wanted records in a single pass in file order.
class FieldCollector : public RecordVisitor {
 public:
  struct Field {
    int index;
    bool memo;
    std::vector<std::string> texts;  // by record number
  };
  FieldCollector(std::vector<Field>& fields, const std::vector<char>& wanted)
      : fields_(fields), wanted_(wanted) {}

  void Visit(std::string_view, RecordSource& source) override {
    const uint32_t r = source.RecNo();
    if (r >= wanted_.size() || !wanted_[r]) return;
    for (Field& f : fields_) {
      f.texts[r] = f.memo ? TrimControls(source.MemoText(f.index))
                          : TrimControls(source.RawField(f.index));
    }
  }

 private:
  std::vector<Field>& fields_;
  const std::vector<char>& wanted_;
};

}  // namespace

std::vector<std::vector<std::string>> TrimmedAnswers(Table& table, const std::string& filter,
                                                     const std::vector<std::string>& fields) {
  std::vector<std::vector<std::string>> answers(fields.size());
  try {
    table.SetFilter(filter);
  } catch (const std::exception&) {
    table.SetFilter("");
  }
  // The answers come in the table's order, but the file is read in its
  // own order: walking an index record by record reads it at random.
  const std::vector<uint32_t> order = table.RecordsInOrder();
  std::vector<char> wanted(table.RecCount() + 1, 0);
  for (const uint32_t r : order) {
    if (r < wanted.size()) wanted[r] = 1;
  }
  std::vector<FieldCollector::Field> read;
  std::vector<size_t> slot_of_read;
  for (size_t k = 0; k < fields.size(); ++k) {
    const int index = table.FieldIndex(fields[k]);
    if (index < 0) continue;  // a field the table lacks: no answers
    const bool memo = table.Fields()[static_cast<size_t>(index)].type == 'M';
    read.push_back({index, memo, std::vector<std::string>(wanted.size())});
    slot_of_read.push_back(k);
  }
  if (read.empty()) return answers;
  FieldCollector collector(read, wanted);
  table.ScanQuery(collector);
  for (size_t k = 0; k < read.size(); ++k) {
    std::vector<std::string>& out = answers[slot_of_read[k]];
    for (const uint32_t r : order) {
      if (r < read[k].texts.size() && !read[k].texts[r].empty()) {
        out.push_back(std::move(read[k].texts[r]));
      }
    }
  }
  return answers;
}

std::vector<std::string> TrimmedAnswers(Table& table, const std::string& filter,
                                        const std::string& field) {
  if (table.FieldIndex(field) < 0) return {};
  return std::move(TrimmedAnswers(table, filter, std::vector<std::string>{field})[0]);
}

std::string AnswerTextList(const std::vector<std::string>& answers) {
  const std::string separator = RepeatText("-", 50);
  std::string text;
  for (const std::string& answer : answers) text += answer + "\r\n" + separator + "\r\n";
  return text;
}

}  // namespace quorvant
