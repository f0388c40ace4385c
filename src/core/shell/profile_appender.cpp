#include "core/shell/profile_appender.h"

#include <charconv>

#include "core/shell/atomic_file.h"
#include "core/shell/profile_file.h"
#include "core/shell/profile_values.h"
#include "core/shell/text_helpers.h"

namespace quorvant {

void ProfileAppender::StartLine(std::string_view section, std::string_view key) {
  if (!started_ || section != section_) {
    // A blank line between sections, as ProfileFile puts one before a
    // section it adds after others.
    if (started_) text_ += "\r\n";
    text_ += '[';
    text_.append(TrimBlanks(section));
    text_ += "]\r\n";
    section_.assign(section);
    started_ = true;
  }
  text_.append(TrimBlanks(key));
  text_ += '=';
}

void ProfileAppender::WriteString(std::string_view section, std::string_view key,
                                  std::string_view value) {
  StartLine(section, key);
  AppendStoredString(text_, value);
  text_ += "\r\n";
}

void ProfileAppender::WriteRawString(std::string_view section, std::string_view key,
                                     std::string_view value) {
  StartLine(section, key);
  AppendSingleLine(text_, value);
  text_ += "\r\n";
}

void ProfileAppender::WriteInteger(std::string_view section, std::string_view key, int value) {
  StartLine(section, key);
  char digits[16];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  text_.append(digits, end);
  text_ += "\r\n";
}

void ProfileAppender::WriteBool(std::string_view section, std::string_view key, bool value) {
  StartLine(section, key);
  text_ += value ? "1\r\n" : "0\r\n";
}

void ProfileAppender::Save(const std::string& path, WriteDurability durability, Env& env) const {
  if (!WriteFileAtomically(path, text_, durability, env)) {
    throw EProfileWriteError("Unable to write to " + path);
  }
}

}  // namespace quorvant
