// Small text helpers shared by every subsystem. Texts are UTF-8; helpers that
// cut or pad count characters, never split one, and treat invalid bytes as
// one character each.
//
// Thread-safety: all functions are pure.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorvant {

// The position of the first character of text, from `from` on, that is one
// of `set`, or npos. std::string_view::find_first_of calls memchr for every
// character of the text, which costs most of a pass over a long one.
inline size_t FindFirstOf(std::string_view text, std::string_view set, size_t from = 0) {
  for (size_t i = from; i < text.size(); ++i) {
    for (const char c : set) {
      if (text[i] == c) return i;
    }
  }
  return std::string_view::npos;
}

// Appends text to out with each character that is one of `special` replaced
// by replace(c) (a std::string_view), the runs between them copied at once.
template <typename Replace>
void AppendReplacing(std::string& out, std::string_view text, std::string_view special,
                     Replace replace) {
  for (size_t from = 0;;) {
    const size_t at = FindFirstOf(text, special, from);
    if (at == std::string_view::npos) {
      out.append(text.substr(from));
      return;
    }
    out.append(text.substr(from, at - from));
    out.append(replace(text[at]));
    from = at + 1;
  }
}

// Removes leading and trailing blanks and tabs. Inline: reading a profile
// file calls it for every line and every lookup.
inline std::string_view TrimBlanks(std::string_view text) {
  size_t b = 0, e = text.size();
  while (b < e && (text[b] == ' ' || text[b] == '\t')) ++b;
  while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t')) --e;
  return text.substr(b, e - b);
}

// Removes leading and trailing characters with codes 0 to 32.
std::string TrimControls(std::string_view text);
// The same, as a view into text.
std::string_view TrimControlsView(std::string_view text);

// The lower-case form of an ASCII letter; any other byte as it is.
inline char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string ToLowerAscii(std::string_view text);
// ASCII letters compared without regard to case. Inline: profile lookups
// call it for every line they pass.
inline bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i] && AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

// Every line followed by "|", concatenated; an empty list gives "".
std::string JoinWithBars(const std::vector<std::string>& lines);

// Each run of characters ended by "|" becomes one line; what follows the last
// "|" is dropped.
std::vector<std::string> SplitAtBars(std::string_view text);

// Removes every character from a "<" through the next ">" inclusive; a "<"
// without a closing ">" removes the rest of the text.
std::string StripTags(std::string_view text);

// The first n characters when the text holds at least n, else the text padded
// with blanks to n characters.
std::string FitToWidth(std::string_view text, int n);

// The text n times; empty for n below 1.
std::string RepeatText(std::string_view text, int n);

// The file name of path with its last "." and what follows removed, then
// trimmed; unchanged (but trimmed) when the name holds no ".".
std::string NameWithoutExtension(std::string_view path);
// The same on the whole path, keeping its directory.
std::string PathWithoutExtension(std::string_view path);

// The text after the first "~", or the whole text when it holds none.
std::string TextAfterTilde(std::string_view text);
// The text before the first "~", or the whole text when it holds none.
std::string TextBeforeTilde(std::string_view text);

// The letter for n: 1 gives "a", 2 gives "b" (the character with code n + 96).
std::string LetterFor(int n);

// Replaces every occurrence of find; the search goes on after each inserted
// replacement, so a replacement that contains find cannot loop.
std::string ReplaceAll(std::string_view text, std::string_view find, std::string_view replacement);

// When default_ext is ".htm" or ".html" (any case), name is kept when its
// extension is either of them; otherwise it is kept when its extension equals
// default_ext. In every other case default_ext is appended.
std::string EnsureHtmlExtension(std::string_view name, std::string_view default_ext);

// Splits at CR, LF or CR LF; a break at the very end adds no empty line.
std::vector<std::string> SplitLines(std::string_view text);

// The longest prefix of text of at most max_bytes bytes that does not end in
// the middle of a UTF-8 character.
std::string_view Utf8Prefix(std::string_view text, size_t max_bytes);

// Number of characters (UTF-8 sequences; invalid bytes count one each).
size_t Utf8Length(std::string_view text);

// Parses a whole decimal number (optional sign) that fits an int.
bool ParseInt(std::string_view text, int& value);

}  // namespace quorvant
