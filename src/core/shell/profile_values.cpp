#include "core/shell/profile_values.h"

#include "core/shell/text_helpers.h"

namespace quorvant {
namespace {

bool LineBreak(char c) { return c == '\r' || c == '\n'; }

// Blank once line breaks are written as blanks.
bool Blank(char c) { return c == ' ' || c == '\t' || LineBreak(c); }

}  // namespace

void AppendSingleLine(std::string& out, std::string_view value) {
  AppendReplacing(out, value, "\r\n", [](char) { return std::string_view(" "); });
}

void AppendStoredString(std::string& out, std::string_view value) {
  const bool quoted =
      !value.empty() &&
      (Blank(value.front()) || Blank(value.back()) ||
       (value.size() >= 2 && value.front() == value.back() &&
        (value.front() == '"' || value.front() == '\'')));
  if (quoted) out += '"';
  AppendSingleLine(out, value);
  if (quoted) out += '"';
}

}  // namespace quorvant
