// Fuzz target: answer lines of any bytes written as a text document must give
// well-formed character data: one paragraph per line holding no markup,
// valid UTF-8 throughout and no character XML forbids, and the line itself
// wherever it was plain printable text.
#include <clocale>
#include <cstddef>
#include <cstdint>
#include <cuchar>
#include <string>
#include <string_view>
#include <vector>

#include "core/reports/office_documents.h"
#include "core/reports/xml_text.h"

namespace {

std::string Unescaped(std::string_view text) {
  static const std::pair<std::string_view, char> kEntities[] = {
      {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&#39;", '\''}};
  std::string out;
  for (size_t at = 0; at < text.size();) {
    bool replaced = false;
    for (const auto& [entity, c] : kEntities) {
      if (text.substr(at).starts_with(entity)) {
        out += c;
        at += entity.size();
        replaced = true;
        break;
      }
    }
    if (!replaced) out += text[at++];
  }
  return out;
}

// Whether the C library's own decoder reads the text as UTF-8 from end to end
// without a character XML forbids.
bool ValidXmlCharacters(std::string_view text) {
  std::mbstate_t state{};
  for (size_t at = 0; at < text.size();) {
    char32_t c = 0;
    const size_t n = std::mbrtoc32(&c, text.data() + at, text.size() - at, &state);
    if (n == 0 || n > text.size() - at) return false;  // NUL, error or cut short
    if (c < 0x20 && c != '\t' && c != '\n' && c != '\r') return false;
    if ((c >= 0xD800 && c <= 0xDFFF) || c == 0xFFFE || c == 0xFFFF) return false;
    at += n;
  }
  return true;
}

bool PlainPrintable(std::string_view line) {
  for (const char c : line) {
    if (c < 0x20 || c > 0x7E) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool utf8 = std::setlocale(LC_ALL, "C.UTF-8") != nullptr;
  if (!utf8) __builtin_trap();
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> lines;
  for (size_t start = 0;;) {
    const size_t end = input.find('\n', start);
    lines.emplace_back(input.substr(start, end == std::string_view::npos ? end : end - start));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  const std::string document = quorvant::FlatTextWithLines(lines);
  if (!ValidXmlCharacters(document)) __builtin_trap();

  constexpr std::string_view kOpen = "<office:text>\n", kClose = "</office:text>";
  const size_t body = document.find(kOpen);
  const size_t body_end = document.rfind(kClose);
  if (body == std::string::npos || body_end == std::string::npos) __builtin_trap();
  std::string_view rest = std::string_view(document).substr(body + kOpen.size());
  rest = rest.substr(0, body_end - body - kOpen.size());
  constexpr std::string_view kP = "<text:p>", kEndP = "</text:p>\n";
  for (const std::string& line : lines) {
    if (!rest.starts_with(kP)) __builtin_trap();
    rest.remove_prefix(kP.size());
    const size_t end = rest.find(kEndP);
    if (end == std::string_view::npos) __builtin_trap();
    const std::string_view text = rest.substr(0, end);
    rest.remove_prefix(end + kEndP.size());
    // No markup of the answer's own, and nothing left that would change on
    // a second escape.
    if (text.find('<') != std::string_view::npos) __builtin_trap();
    if (quorvant::EscapeXmlText(Unescaped(text)) != text) __builtin_trap();
    if (PlainPrintable(line) && Unescaped(text) != line) __builtin_trap();
  }
  if (!rest.empty()) __builtin_trap();
  return 0;
}
