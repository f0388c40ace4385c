#include "core/reports/answer_list.h"

#include <exception>

#include "core/shell/text_helpers.h"
#include "core/tableengine/table.h"

namespace quorvant {
namespace {

// Reads some fields of the wanted records in a single pass in file order,
// each field's trimmed texts into one block with the span of every record.
class FieldCollector : public RecordVisitor {
 public:
  struct Span {
    size_t begin = 0;
    size_t length = 0;
  };
  struct Field {
    int index;
    bool memo;
    std::string text;
    std::vector<Span> spans;  // by record number
  };
  FieldCollector(std::vector<Field>& fields, const std::vector<char>& wanted)
      : fields_(fields), wanted_(wanted) {}

  void Visit(std::string_view, RecordSource& source) override {
    const uint32_t r = source.RecNo();
    if (r >= wanted_.size() || !wanted_[r]) return;
    for (Field& f : fields_) {
      std::string_view answer;
      if (f.memo) {
        memo_ = source.MemoText(f.index);
        answer = TrimControlsView(memo_);
      } else {
        answer = TrimControlsView(source.RawField(f.index));
      }
      f.spans[r] = {f.text.size(), answer.size()};
      f.text.append(answer);
    }
  }

 private:
  std::vector<Field>& fields_;
  const std::vector<char>& wanted_;
  std::string memo_;
};

}  // namespace

std::vector<std::string> AnswerColumn::Strings() const {
  std::vector<std::string> out;
  out.reserve(size());
  for (size_t i = 0; i < size(); ++i) out.emplace_back((*this)[i]);
  return out;
}

std::vector<AnswerColumn> TrimmedAnswers(Table& table, const std::string& filter,
                                         const std::vector<std::string>& fields) {
  std::vector<AnswerColumn> answers(fields.size());
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
    read.push_back({index, memo, {}, std::vector<FieldCollector::Span>(wanted.size())});
    slot_of_read.push_back(k);
  }
  if (read.empty()) return answers;
  FieldCollector collector(read, wanted);
  table.ScanQuery(collector);
  for (size_t k = 0; k < read.size(); ++k) {
    AnswerColumn& out = answers[slot_of_read[k]];
    const FieldCollector::Field& field = read[k];
    out.Reserve(order.size(), field.text.size());
    const std::string_view text = field.text;
    for (const uint32_t r : order) {
      if (r < field.spans.size() && field.spans[r].length != 0) {
        out.Add(text.substr(field.spans[r].begin, field.spans[r].length));
      }
    }
  }
  return answers;
}

std::vector<std::string> TrimmedAnswers(Table& table, const std::string& filter,
                                        const std::string& field) {
  if (table.FieldIndex(field) < 0) return {};
  return TrimmedAnswers(table, filter, std::vector<std::string>{field})[0].Strings();
}

std::string AnswerTextList(const std::vector<std::string>& answers) {
  const std::string separator = RepeatText("-", 50);
  std::string text;
  for (const std::string& answer : answers) text += answer + "\r\n" + separator + "\r\n";
  return text;
}

}  // namespace quorvant
