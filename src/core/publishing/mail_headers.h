// Header texts for invitation messages, built so that nothing a list or a
// survey holds can add a header line of its own: every control character
// (CR and LF among them) is dropped, and text that is not plain ASCII is
// written as RFC 2047 encoded words.
//
// Thread-safety: plain functions without state.
#pragma once

#include <ctime>
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

// True when address is a mailbox as SMTP writes it (RFC 5321): a local
// part that is dot-separated atoms or a quoted string, "@", and a domain of
// dot-separated labels (a single label such as "mailhost" included) or an
// address literal in brackets ("[192.0.2.1]", "[IPv6:...]"). Bytes beyond
// ASCII count as letters, as internationalised mail (RFC 6531) allows. No
// control character, CR and LF among them, can pass, so an address never
// adds a header line.
bool ValidMailbox(std::string_view address);

// The From or To header value: the display name as a quoted string (or
// encoded words when it is not ASCII) followed by " <" address ">"; the
// address alone when the name is empty. Requires: ValidMailbox(address).
std::string FormatMailbox(std::string_view display_name, std::string_view address);

// The envelope address of a To entry "(" first " " last ") " address: the
// text after the first ") " that a valid mailbox follows (names may hold
// ") " themselves, a quoted address too), else after the last ") ",
// trimmed; the whole entry trimmed when it has no such part.
std::string RecipientOfToEntry(std::string_view to_entry);

// The To header value of a To entry: the name inside the parentheses and
// the address after them, as RecipientOfToEntry() finds it, through
// FormatMailbox(); an entry without parentheses as HeaderSafeText().
std::string ToHeaderOfEntry(std::string_view to_entry);

// The Date header value of a moment, in UTC and in English whatever the
// locale: "Thu, 03 Dec 1998 14:15:02 +0000".
std::string DateHeaderValue(std::time_t moment);

// A Message-ID header value "<" unique "@" domain ">", domain being the
// text after the last "@" of the reply address. Each call gives another
// identifier. Requires: ValidMailbox(reply_address).
std::string NewMessageId(std::string_view reply_address);

// Base64 of bytes, in one line.
std::string Base64(std::string_view bytes);

}  // namespace quorvant
