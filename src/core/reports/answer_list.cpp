#include "core/reports/answer_list.h"

#include <exception>

#include "core/shell/text_helpers.h"
#include "core/tableengine/table.h"

namespace quorvant {

std::vector<std::string> TrimmedAnswers(Table& table, const std::string& filter,
                                        const std::string& field) {
  std::vector<std::string> answers;
  if (table.FieldIndex(field) < 0) return answers;
  try {
    table.SetFilter(filter);
  } catch (const std::exception&) {
    table.SetFilter("");
  }
  for (table.GoTop(); !table.Eof(); table.Skip()) {
    std::string answer = TrimControls(table.Get(field));
    if (!answer.empty()) answers.push_back(std::move(answer));
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
