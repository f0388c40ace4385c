// How a profile file stores the value of a key, shared by ProfileFile and
// ProfileAppender so that both write the same text.
#pragma once

#include <string>
#include <string_view>

namespace quorvant {

// The value with its line breaks written as blanks (a break would split the
// line), appended to out.
void AppendSingleLine(std::string& out, std::string_view value);

// The same, enclosed in one extra pair of double quotes when the reading
// rules would otherwise change it (leading or trailing blanks, an enclosing
// quote pair), so that it reads back unchanged.
void AppendStoredString(std::string& out, std::string_view value);

}  // namespace quorvant
