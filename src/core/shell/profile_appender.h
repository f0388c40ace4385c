// A new profile file written straight out as text: for a writer that starts
// from no file, names each section once and each key of a section once (a
// survey saved to a new file). It gives the text that ProfileFile gives
// for the same writes into an empty file, without keeping a line or an
// index entry per key, so that saving a survey of thousands of questions to
// a new file costs little more than writing its text.
#pragma once

#include <string>
#include <string_view>

#include "core/env/replace_file.h"

namespace quorvant {

class ProfileAppender {
 public:
  // expected_bytes: about how long the text will be, so that it is not
  // copied again and again as it grows.
  explicit ProfileAppender(size_t expected_bytes = 0) { text_.reserve(expected_bytes); }

  // The write functions of ProfileFile. A key of a section other than the
  // one written last starts that section.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteRawString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, int value);
  void WriteBool(std::string_view section, std::string_view key, bool value);

  // The whole file as text, CR LF line ends.
  const std::string& ToText() const { return text_; }

  // As ProfileFile::Save.
  void Save(const std::string& path, WriteDurability durability = WriteDurability::kDurable,
            Env& env = DefaultEnv()) const;

 private:
  // Starts the line of key, with the header of its section first when the
  // section is a new one.
  void StartLine(std::string_view section, std::string_view key);

  std::string text_;
  std::string section_;  // the section of the last line, as written
  bool started_ = false;
};

}  // namespace quorvant
