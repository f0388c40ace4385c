#include "core/survey/comma_text.h"

namespace quorvant {
namespace {

bool NeedsQuoting(std::string_view line) {
  for (char c : line) {
    if (static_cast<unsigned char>(c) <= 32 || c == '"' || c == ',') return true;
  }
  return false;
}

// Appends one line as a comma-text item, quoted when it must be.
void AppendItem(std::string& out, std::string_view line) {
  if (!NeedsQuoting(line)) {
    out += line;
    return;
  }
  out += '"';
  for (char c : line) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

bool IsSkippable(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u >= 1 && u <= 32;
}

}  // namespace

std::string JoinCommaText(const std::vector<std::string>& lines) {
  if (lines.size() == 1 && lines[0].empty()) return "\"\"";
  std::string out;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) out += ',';
    AppendItem(out, lines[i]);
  }
  return out;
}

std::string CommaTextFromBars(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t start = 0, count = 0;
  for (size_t bar = text.find('|'); bar != std::string_view::npos; bar = text.find('|', start)) {
    if (count++ > 0) out += ',';
    AppendItem(out, text.substr(start, bar - start));
    start = bar + 1;
  }
  // One empty line alone is written as "" (only an empty line adds nothing).
  if (count == 1 && out.empty()) return "\"\"";
  return out;
}

void ForEachCommaItem(std::string_view text, const std::function<void(std::string_view)>& item) {
  // The text ends at its first NUL character, as it always has.
  text = text.substr(0, text.find('\0'));
  std::string unquoted;  // a quoted item with doubled quotes inside
  size_t p = 0;
  const size_t n = text.size();
  while (p < n && IsSkippable(text[p])) ++p;
  while (p < n) {
    if (text[p] == '"') {
      const size_t start = ++p;
      bool doubled = false;
      while (p < n && (text[p] != '"' || (p + 1 < n && text[p + 1] == '"'))) {
        if (text[p] == '"') {
          doubled = true;
          ++p;
        }
        ++p;
      }
      std::string_view quoted = text.substr(start, p - start);
      if (p < n) ++p;  // the closing quote
      if (doubled) {
        unquoted.clear();
        for (size_t i = 0; i < quoted.size(); ++i) {
          unquoted += quoted[i];
          if (quoted[i] == '"') ++i;
        }
        quoted = unquoted;
      }
      item(quoted);
    } else {
      const size_t start = p;
      while (p<n&& static_cast<unsigned char>(text[p])> 32 && text[p] != ',') ++p;
      item(text.substr(start, p - start));
    }
    while (p < n && IsSkippable(text[p])) ++p;
    if (p < n && text[p] == ',') {
      ++p;
      while (p < n && IsSkippable(text[p])) ++p;
    }
  }
}

std::vector<std::string> SplitCommaText(std::string_view text) {
  std::vector<std::string> lines;
  ForEachCommaItem(text, [&](std::string_view item) { lines.emplace_back(item); });
  return lines;
}

}  // namespace quorvant
