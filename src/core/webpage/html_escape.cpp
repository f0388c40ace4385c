#include "core/webpage/html_escape.h"

#include "core/shell/text_helpers.h"

namespace quorvant {

void AppendEscapedHtml(std::string& out, std::string_view text) {
  AppendReplacing(out, text, "&<>\"'", [](char c) -> std::string_view {
    switch (c) {
      case '&':
        return "&amp;";
      case '<':
        return "&lt;";
      case '>':
        return "&gt;";
      case '"':
        return "&quot;";
      default:
        return "&#39;";
    }
  });
}

std::string EscapeHtml(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  AppendEscapedHtml(out, text);
  return out;
}

}  // namespace quorvant
