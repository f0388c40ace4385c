// Header texts for invitation messages, built so that nothing a list or a
// survey holds can add a header line of its own: every control character
// (CR and LF among them) is dropped, and text that is not plain ASCII is
// written as RFC 2047 encoded words.
//
// Thread-safety: plain functions without state.
#pragma once

#include <string>
#include <string_view>

namespace quorvant {

// The text without control characters (below 32, and 127); tabs become
// blanks.
std::string HeaderSafeText(std::string_view text);

// A header value: HeaderSafeText(), then, when any byte is not ASCII,
// "=?UTF-8?B?...?=" words of at most 75 characters each (never splitting a
// character), separated by a folding CR LF and blank.
std::string EncodeHeaderText(std::string_view text);

// True when address has the form local@domain: one "@", a non-empty local
// part and a domain with a dot inside it, and none of the characters that
// would end or split an address (blanks, controls, "<", ">", ",", ";", ":",
// quotes, parentheses, brackets, backslash).
bool PlausibleAddress(std::string_view address);

// The From or To header value: the display name as a quoted string (or
// encoded words when it is not ASCII) followed by " <" address ">"; the
// address alone when the name is empty. Requires: PlausibleAddress(address).
std::string FormatMailbox(std::string_view display_name, std::string_view address);

// The envelope address of a To entry "(" first " " last ") " address: the
// text after the last ") ", trimmed; the whole entry trimmed when it has no
// such part.
std::string RecipientOfToEntry(std::string_view to_entry);

// The To header value of a To entry: the name inside the parentheses and
// the address after them through FormatMailbox(); an entry without
// parentheses as HeaderSafeText().
std::string ToHeaderOfEntry(std::string_view to_entry);

// Base64 of bytes, in one line.
std::string Base64(std::string_view bytes);

}  // namespace quorvant
