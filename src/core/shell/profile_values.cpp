#include "core/shell/profile_values.h"

#include "core/shell/text_helpers.h"

namespace quorvant {
namespace {

bool LineBreak(char c) { return c == '\r' || c == '\n'; }

// Blank once line breaks are written as blanks.
bool Blank(char c) { return c == ' ' || c == '\t' || LineBreak(c); }

}  // namespace

void AppendSingleLine(std::string& out, std::string_view value) {
  size_t from = 0;
  for (;;) {
    const size_t at = FindFirstOf(value, "\r\n", from);
    out.append(value.substr(from, at == std::string_view::npos ? at : at - from));
    if (at == std::string_view::npos) return;
    out += ' ';
    from = at + 1;
  }
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
