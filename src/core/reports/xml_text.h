// Text as the character data of an XML document. Respondents type anything,
// and one control character or broken UTF-8 sequence would make the whole
// document unreadable to the program that opens it.
#pragma once

#include <string>
#include <string_view>

namespace quorvant {

// The text with & < > " ' as entities (as a web page escapes them), the
// control characters that XML forbids (all below 0x20 but tab, line feed
// and carriage return) dropped, and each byte that is no part of a valid UTF-8 character (overlong forms,
// surrogates and U+FFFE/U+FFFF included) replaced by U+FFFD.
std::string EscapeXmlText(std::string_view text);

}  // namespace quorvant
