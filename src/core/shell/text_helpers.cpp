#include "core/shell/text_helpers.h"

#include <charconv>

namespace quorvant {
namespace {

// Length of the UTF-8 sequence that starts at text[i]; 1 for an invalid byte.
size_t SequenceLength(std::string_view text, size_t i) {
  const auto lead = static_cast<unsigned char>(text[i]);
  size_t len = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3
                                 : (lead >> 3) == 0x1E ? 4 : 1;
  if (i + len > text.size()) return 1;
  for (size_t k = 1; k < len; ++k) {
    if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return 1;
  }
  return len;
}

size_t ExtensionDot(std::string_view path) {
  const size_t slash = path.find_last_of('/');
  const size_t dot = path.find_last_of('.');
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) {
    return std::string_view::npos;
  }
  return dot;
}

}  // namespace

std::string_view TrimControlsView(std::string_view text) {
  size_t b = 0, e = text.size();
  while (b < e && static_cast<unsigned char>(text[b]) <= 32) ++b;
  while (e > b && static_cast<unsigned char>(text[e - 1]) <= 32) --e;
  return text.substr(b, e - b);
}

std::string TrimControls(std::string_view text) { return std::string(TrimControlsView(text)); }

std::string ToLowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AsciiLower(c);
  return out;
}

std::string JoinWithBars(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& line : lines) {
    out += line;
    out += '|';
  }
  return out;
}

std::vector<std::string> SplitAtBars(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t bar = text.find('|'); bar != std::string_view::npos; bar = text.find('|', start)) {
    lines.emplace_back(text.substr(start, bar - start));
    start = bar + 1;
  }
  return lines;
}

std::string StripTags(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    const size_t open = text.find('<', i);
    out.append(text.substr(i, open == std::string_view::npos ? std::string_view::npos : open - i));
    if (open == std::string_view::npos) break;
    const size_t close = text.find('>', open);
    if (close == std::string_view::npos) break;
    i = close + 1;
  }
  return out;
}

std::string FitToWidth(std::string_view text, int n) {
  if (n <= 0) return {};
  size_t chars = 0, i = 0;
  while (i < text.size() && chars < static_cast<size_t>(n)) {
    i += SequenceLength(text, i);
    ++chars;
  }
  std::string out(text.substr(0, i));
  out.append(static_cast<size_t>(n) - chars, ' ');
  return out;
}

std::string RepeatText(std::string_view text, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += text;
  return out;
}

std::string NameWithoutExtension(std::string_view path) {
  const size_t slash = path.find_last_of('/');
  std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const size_t dot = name.find_last_of('.');
  if (dot != std::string_view::npos) name = name.substr(0, dot);
  return std::string(TrimBlanks(name));
}

std::string PathWithoutExtension(std::string_view path) {
  const size_t dot = ExtensionDot(path);
  return std::string(TrimBlanks(dot == std::string_view::npos ? path : path.substr(0, dot)));
}

std::string TextAfterTilde(std::string_view text) {
  const size_t tilde = text.find('~');
  return std::string(tilde == std::string_view::npos ? text : text.substr(tilde + 1));
}

std::string TextBeforeTilde(std::string_view text) {
  return std::string(text.substr(0, text.find('~')));
}

std::string LetterFor(int n) { return std::string(1, static_cast<char>(n + 96)); }

std::string ReplaceAll(std::string_view text, std::string_view find,
                       std::string_view replacement) {
  if (find.empty()) return std::string(text);
  std::string out;
  out.reserve(text.size());
  size_t start = 0;
  for (size_t hit = text.find(find); hit != std::string_view::npos;
       hit = text.find(find, start)) {
    out.append(text.substr(start, hit - start));
    out.append(replacement);
    start = hit + find.size();
  }
  out.append(text.substr(start));
  return out;
}

std::string EnsureHtmlExtension(std::string_view name, std::string_view default_ext) {
  const size_t dot = ExtensionDot(name);
  const std::string_view ext = dot == std::string_view::npos ? std::string_view{} : name.substr(dot);
  const bool html_default = EqualsIgnoreCase(default_ext, ".htm") ||
                            EqualsIgnoreCase(default_ext, ".html");
  const bool keep = html_default
                        ? EqualsIgnoreCase(ext, ".htm") || EqualsIgnoreCase(ext, ".html")
                        : !ext.empty() && EqualsIgnoreCase(ext, default_ext);
  return keep ? std::string(name) : std::string(name) + std::string(default_ext);
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0, i = 0;
  while (i < text.size()) {
    if (text[i] == '\r' || text[i] == '\n') {
      lines.emplace_back(text.substr(start, i - start));
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      start = ++i;
    } else {
      ++i;
    }
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

std::string_view Utf8Prefix(std::string_view text, size_t max_bytes) {
  if (text.size() <= max_bytes) return text;
  size_t i = 0;
  while (i < text.size()) {
    const size_t len = SequenceLength(text, i);
    if (i + len > max_bytes) break;
    i += len;
  }
  return text.substr(0, i);
}

size_t Utf8Length(std::string_view text) {
  size_t chars = 0;
  for (size_t i = 0; i < text.size(); i += SequenceLength(text, i)) ++chars;
  return chars;
}

bool ParseInt(std::string_view text, int& value) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return false;
  int parsed = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (ec != std::errc() || end != text.data() + text.size()) return false;
  value = parsed;
  return true;
}

}  // namespace quorvant
