#include "core/webpage/html_escape.h"

#include "core/shell/text_helpers.h"

namespace quorvant {

void AppendEscapedHtml(std::string& out, std::string_view text) {
  // Most text holds none of the five characters: copy it in runs.
  size_t from = 0;
  for (;;) {
    const size_t at = FindFirstOf(text, "&<>\"'", from);
    out.append(text.substr(from, at == std::string_view::npos ? at : at - from));
    if (at == std::string_view::npos) return;
    switch (text[at]) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += "&#39;";
    }
    from = at + 1;
  }
}

std::string EscapeHtml(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  AppendEscapedHtml(out, text);
  return out;
}

}  // namespace quorvant
