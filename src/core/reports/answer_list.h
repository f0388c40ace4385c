// The typed answers of one field, as the analysis shows them: the records
// the table lets through, first to last, each answer trimmed, empty ones
// left out.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorvant {

class Table;

// Answers kept in one block of text, so that reading a hundred thousand of
// them makes no string per answer.
class AnswerColumn {
 public:
  size_t size() const { return ends_.size(); }
  bool empty() const { return ends_.empty(); }
  std::string_view operator[](size_t i) const {
    const size_t begin = i == 0 ? 0 : ends_[i - 1];
    return std::string_view(text_).substr(begin, ends_[i] - begin);
  }
  void Add(std::string_view answer) {
    text_.append(answer);
    ends_.push_back(text_.size());
  }
  void Reserve(size_t answers, size_t bytes) {
    ends_.reserve(answers);
    text_.reserve(bytes);
  }
  std::vector<std::string> Strings() const;

 private:
  std::string text_;
  std::vector<size_t> ends_;
};

// Walks the table through `filter` (set as its view filter; one it cannot
// evaluate is dropped, as the results were counted without it). A field
// the table lacks gives no answers. Throws ETableError when the table
// cannot be read.
std::vector<std::string> TrimmedAnswers(Table& table, const std::string& filter,
                                        const std::string& field);
// The same for several fields at once, in one pass over the table: the
// answers of fields[k] at [k].
std::vector<AnswerColumn> TrimmedAnswers(Table& table, const std::string& filter,
                                         const std::vector<std::string>& fields);

// The answer text list for the clipboard and the word processor: each
// answer, then a line of 50 hyphens, every line followed by CR LF.
std::string AnswerTextList(const std::vector<std::string>& answers);

}  // namespace quorvant
