#include "core/reports/answer_list.h"

#include <exception>

#include "core/shell/text_helpers.h"
#include "core/tableengine/table.h"

namespace quorvant {

namespace {

// Reads one field of the wanted records in a single pass in file order.
class FieldCollector : public RecordVisitor {
 public:
  FieldCollector(int field, bool memo, const std::vector<char>& wanted,
                 std::vector<std::string>& texts)
      : field_(field), memo_(memo), wanted_(wanted), texts_(texts) {}

  void Visit(std::string_view, RecordSource& source) override {
    const uint32_t r = source.RecNo();
    if (r >= wanted_.size() || !wanted_[r]) return;
    texts_[r] = memo_ ? TrimControls(source.MemoText(field_))
                      : TrimControls(source.RawField(field_));
  }

 private:
  int field_;
  bool memo_;
  const std::vector<char>& wanted_;
  std::vector<std::string>& texts_;
};

}  // namespace

std::vector<std::string> TrimmedAnswers(Table& table, const std::string& filter,
                                        const std::string& field) {
  std::vector<std::string> answers;
  const int index = table.FieldIndex(field);
  if (index < 0) return answers;
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
  std::vector<std::string> texts(wanted.size());
  FieldCollector collector(index, table.Fields()[static_cast<size_t>(index)].type == 'M', wanted,
                           texts);
  table.ScanQuery(collector);
  for (const uint32_t r : order) {
    if (r < texts.size() && !texts[r].empty()) answers.push_back(std::move(texts[r]));
  }
  return answers;
}

std::string AnswerTextList(const std::vector<std::string>& answers) {
  const std::string separator = RepeatText("-", 50);
  std::string text;
  for (const std::string& answer : answers) text += answer + "\r\n" + separator + "\r\n";
  return text;
}

}  // namespace quorvant
