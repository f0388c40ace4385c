#include "core/survey/comma_text.h"

namespace quorvant {
namespace {

bool NeedsQuoting(std::string_view line) {
  for (char c : line) {
    if (static_cast<unsigned char>(c) <= 32 || c == '"' || c == ',') return true;
  }
  return false;
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
    const std::string& line = lines[i];
    if (!NeedsQuoting(line)) {
      out += line;
      continue;
    }
    out += '"';
    for (char c : line) {
      if (c == '"') out += '"';
      out += c;
    }
    out += '"';
  }
  return out;
}

std::vector<std::string> SplitCommaText(std::string_view text) {
  // The text ends at its first NUL character, as it always has.
  text = text.substr(0, text.find('\0'));
  std::vector<std::string> lines;
  size_t p = 0;
  const size_t n = text.size();
  while (p < n && IsSkippable(text[p])) ++p;
  while (p < n) {
    std::string item;
    if (text[p] == '"') {
      ++p;
      while (p < n) {
        if (text[p] == '"') {
          if (p + 1 < n && text[p + 1] == '"') {
            item += '"';
            p += 2;
            continue;
          }
          ++p;
          break;
        }
        item += text[p++];
      }
    } else {
      const size_t start = p;
      while (p < n && static_cast<unsigned char>(text[p]) > 32 && text[p] != ',') ++p;
      item.assign(text.substr(start, p - start));
    }
    lines.push_back(std::move(item));
    while (p < n && IsSkippable(text[p])) ++p;
    if (p < n && text[p] == ',') {
      ++p;
      while (p < n && IsSkippable(text[p])) ++p;
    }
  }
  return lines;
}

}  // namespace quorvant
