#include "core/reports/text_wrap.h"

namespace quorvant {
namespace {

// No printed line holds more: a page of 10-point text takes some hundred
// and fifty characters. The cap keeps text of zero-width characters, which
// would all fit on one line, from being measured at ever greater lengths.
constexpr size_t kMostBytes = 1024;

bool Fits(std::string_view text, int width, const TextMeasure& measure) {
  return text.size() <= kMostBytes && measure(text) <= width;
}

// The length of the UTF-8 character that starts at text[at].
size_t CharLength(std::string_view text, size_t at) {
  size_t end = at + 1;
  while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
  return end - at;
}

// The end of the longest run of text from `at` that fits into width,
// breaking between characters; at least one character.
size_t FittingChars(std::string_view text, size_t at, int width, const TextMeasure& measure) {
  size_t end = at + CharLength(text, at);
  while (end < text.size()) {
    const size_t next = end + CharLength(text, end);
    if (!Fits(text.substr(at, next - at), width, measure)) break;
    end = next;
  }
  return end;
}

void WrapLine(std::string_view line, int width, const TextMeasure& measure,
              std::vector<std::string>& out) {
  size_t at = 0;
  while (at < line.size()) {
    // Every word that still fits joins the line.
    size_t end = at;
    while (end < line.size()) {
      size_t word_end = line.find(' ', line.find_first_not_of(' ', end));
      if (word_end == std::string_view::npos) word_end = line.size();
      if (!Fits(line.substr(at, word_end - at), width, measure)) break;
      end = word_end;
    }
    if (end == at) end = FittingChars(line, at, width, measure);
    std::string_view printed = line.substr(at, end - at);
    printed.remove_suffix(printed.size() - (printed.find_last_not_of(' ') + 1));
    out.emplace_back(printed);
    at = line.find_first_not_of(' ', end);
    if (at == std::string_view::npos) at = line.size();
  }
}

}  // namespace

std::vector<std::string> WrapText(std::string_view text, int width, const TextMeasure& measure) {
  std::vector<std::string> out;
  size_t start = 0;
  while (true) {
    const size_t end = text.find_first_of("\r\n", start);
    const std::string_view line =
        text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    const size_t before = out.size();
    WrapLine(line, width, measure, out);
    if (out.size() == before) out.emplace_back();  // an empty line stays one
    if (end == std::string_view::npos) break;
    start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  return out;
}

}  // namespace quorvant
