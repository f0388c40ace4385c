// Question import from a text file: one line per question, lines indented by
// a blank for its response options, indented lines starting with "-" that
// name a response template, and lines starting with "H)" (any case) for
// headers. Every imported question takes one style.
//
// Thread-safety: the functions hold no state.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorvant {

class Prompts;
class TSurvey;

enum class ImportLineKind { kHeader, kQuestion, kIgnored, kTemplate, kResponse };

// How a line counts, by the tests in this order: "H)" in either case is a
// header; a line not starting with a blank or the character of code 4 is a
// question (an empty line too); code 4 is ignored; an indented line that
// starts with "-" once trimmed names a template; any other indented line is
// a response option.
ImportLineKind ClassifyImportLine(std::string_view line);

// The item style of the import dialog's list entry (0 to 3): 1, 2, 3 or 5;
// 0 for any other index.
int ImportStyleForIndex(int index);

// The lines of a text: line ends CR LF, LF or CR; a UTF-8 byte-order mark at
// the start is skipped; a final line end adds no empty line.
std::vector<std::string> SplitImportLines(std::string_view text);

// Reads those lines one at a time. Each line end is looked for with memchr
// (many bytes at a time), the next CR and the next LF each again only once
// the lines have passed it.
class ImportLineReader {
 public:
  explicit ImportLineReader(std::string_view text);
  // The next line, a view into the text; false after the last.
  bool Next(std::string_view& line);

 private:
  size_t Find(char c, size_t from) const;

  std::string_view text_;
  size_t start_ = 0;
  size_t cr_;
  size_t lf_;
};

// One entry per response template of data_dir (which ends in "/"), in
// directory order: the bare file name, "|" and the template's title.
std::vector<std::string> BuildTemplateIndex(const std::string& data_dir);

// Appends the items the lines of text (as SplitImportLines splits them)
// describe to survey: questions of `style` with
// their collected options, headers of style 7. A template line takes the
// values of the first template whose index entry contains its name (case
// counts); when none does, the line itself becomes an option.
void ImportQuestionText(TSurvey& survey, std::string_view text, int style,
                        const std::string& data_dir);

// The import command on a survey that was just made new: reads the file at
// path, appends its items and says "Import complete!". An unreadable file
// gives "Error loading file " + path and imports nothing. True when the
// import completed.
bool ImportQuestionFile(TSurvey& survey, const std::string& path, int style,
                        const std::string& data_dir, Prompts& prompts);

}  // namespace quorvant
