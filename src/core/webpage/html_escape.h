// Escaping of text that does not come from the author's own document (file
// paths, names read from the system) before it goes into a page.
#pragma once

#include <string>
#include <string_view>

namespace quorvant {

// The text with "&", "<", ">", the double and the single quote written as
// character references, so that it shows as typed in element content and
// inside quoted attribute values.
std::string EscapeHtml(std::string_view text);
// The same, appended to out.
void AppendEscapedHtml(std::string& out, std::string_view text);

}  // namespace quorvant
