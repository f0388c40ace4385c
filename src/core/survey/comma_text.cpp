#include "core/survey/comma_text.h"

#include "core/shell/text_helpers.h"

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
  AppendReplacing(out, line, "\"", [](char) { return std::string_view("\"\""); });
  out += '"';
}

bool IsSkippable(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u >= 1 && u <= 32;
}

template <typename Line>
std::string JoinLines(const std::vector<Line>& lines) {
  if (lines.size() == 1 && lines[0].empty()) return "\"\"";
  std::string out;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) out += ',';
    AppendItem(out, lines[i]);
  }
  return out;
}

}  // namespace

std::string JoinCommaText(const std::vector<std::string>& lines) { return JoinLines(lines); }

std::string JoinCommaViews(const std::vector<std::string_view>& lines) { return JoinLines(lines); }

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

CommaItemReader::CommaItemReader(std::string_view text)
    // The text ends at its first NUL character, as it always has.
    : text_(text.substr(0, text.find('\0'))) {
  while (pos_ < text_.size() && IsSkippable(text_[pos_])) ++pos_;
}

bool CommaItemReader::Next(std::string_view& item) {
  const size_t n = text_.size();
  size_t p = pos_;
  if (p >= n) return false;
  if (text_[p] == '"') {
    const size_t start = ++p;
    bool doubled = false;
    while (true) {
      const size_t quote = text_.find('"', p);
      if (quote == std::string_view::npos) {
        p = n;
        break;
      }
      p = quote;
      if (p + 1 < n && text_[p + 1] == '"') {
        doubled = true;
        p += 2;
        continue;
      }
      break;
    }
    item = text_.substr(start, p - start);
    if (p < n) ++p;  // the closing quote
    if (doubled) {
      unquoted_.clear();
      for (size_t i = 0; i < item.size(); ++i) {
        unquoted_ += item[i];
        if (item[i] == '"') ++i;
      }
      item = unquoted_;
    }
  } else {
    const size_t start = p;
    while (p<n&& static_cast<unsigned char>(text_[p])> 32 && text_[p] != ',') ++p;
    item = text_.substr(start, p - start);
  }
  while (p < n && IsSkippable(text_[p])) ++p;
  if (p < n && text_[p] == ',') {
    ++p;
    while (p < n && IsSkippable(text_[p])) ++p;
  }
  pos_ = p;
  return true;
}

std::string BarsFromCommaText(std::string_view text) {
  std::string bars;
  bars.reserve(text.size() + 1);
  ForEachCommaItem(text, [&](std::string_view item) {
    bars.append(item);
    bars += '|';
  });
  return bars;
}

std::vector<std::string> SplitCommaText(std::string_view text) {
  std::vector<std::string> lines;
  ForEachCommaItem(text, [&](std::string_view item) { lines.emplace_back(item); });
  return lines;
}

}  // namespace quorvant
