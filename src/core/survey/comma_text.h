// Comma text: the encoding of a list of lines as one line, used for option
// lists, the invitation message, the address prefixes and the collection
// server's result lines.
//
// Writing joins the lines with ","; a line holding a character with code 0 to
// 32, a double quote or a comma is enclosed in double quotes with inner
// quotes doubled. One empty line is written as "" and an empty list as
// nothing.
//
// Reading skips leading characters 1 to 32, then repeatedly takes an item: a
// quoted item runs to its closing quote (a doubled quote stands for one); any
// other item runs to the next comma or character of code 32 or less. After an
// item, characters 1 to 32 are skipped, then one comma and the characters 1 to
// 32 after it. A NUL character ends the text. So "a,,b" is three lines, "a b"
// two, and a trailing comma adds no empty line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorvant {

std::string JoinCommaText(const std::vector<std::string>& lines);
// The same for lines held elsewhere.
std::string JoinCommaViews(const std::vector<std::string_view>& lines);
std::vector<std::string> SplitCommaText(std::string_view text);
// The comma text of the lines of a text in which every line ends in "|"
// (text after the last "|" is no line): JoinCommaText(SplitAtBars(text))
// without a copy of every line. Survey files keep option lists so.
std::string CommaTextFromBars(std::string_view text);
// The other way: JoinWithBars(SplitCommaText(text)) without a copy of
// every line.
std::string BarsFromCommaText(std::string_view text);

// Reads the items of a text one at a time, as SplitCommaText does, without
// a copy of every item: for long texts such as the server's result lines.
class CommaItemReader {
 public:
  explicit CommaItemReader(std::string_view text);
  // The next item; false after the last. The view is valid until the next
  // call or until the text itself goes.
  bool Next(std::string_view& item);

 private:
  std::string_view text_;
  size_t pos_ = 0;
  std::string unquoted_;  // a quoted item with doubled quotes inside
};

// Hands each item to `item`, a callable taking a std::string_view valid
// only during the call.
template <typename F>
void ForEachCommaItem(std::string_view text, F&& item) {
  CommaItemReader reader(text);
  std::string_view next;
  while (reader.Next(next)) item(next);
}

}  // namespace quorvant
