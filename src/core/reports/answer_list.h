// The typed answers of one field, as the analysis shows them: the records
// the table lets through, first to last, each answer trimmed, empty ones
// left out.
#pragma once

#include <string>
#include <vector>

namespace quorvant {

class Table;

// Walks the table through `filter` (set as its view filter; one it cannot
// evaluate is dropped, as the results were counted without it). A field
// the table lacks gives no answers. Throws ETableError when the table
// cannot be read.
std::vector<std::string> TrimmedAnswers(Table& table, const std::string& filter,
                                        const std::string& field);
// The same for several fields at once, in one pass over the table: the
// answers of fields[k] at [k].
std::vector<std::vector<std::string>> TrimmedAnswers(Table& table, const std::string& filter,
                                                     const std::vector<std::string>& fields);

// The answer text list for the clipboard and the word processor: each
// answer, then a line of 50 hyphens, every line followed by CR LF.
std::string AnswerTextList(const std::vector<std::string>& answers);

}  // namespace quorvant
