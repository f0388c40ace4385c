#include "core/reports/xml_text.h"

#include <cstdint>

#include "core/webpage/html_escape.h"

namespace quorvant {
namespace {

constexpr char kReplacement[] = "\xEF\xBF\xBD";

// The length of the valid UTF-8 character at text[at], or 0.
size_t ValidCharacterLength(std::string_view text, size_t at) {
  const auto byte = [&](size_t k) { return static_cast<uint8_t>(text[at + k]); };
  const uint8_t lead = byte(0);
  size_t length = 0;
  uint32_t code = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    code = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    code = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    code = lead & 0x07;
  } else {
    return 0;
  }
  if (at + length > text.size()) return 0;
  for (size_t k = 1; k < length; ++k) {
    if ((byte(k) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(k) & 0x3F);
  }
  const uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (code < smallest[length] || code > 0x10FFFF) return 0;
  if (code >= 0xD800 && code <= 0xDFFF) return 0;
  if (code == 0xFFFE || code == 0xFFFF) return 0;
  return length;
}

}  // namespace

std::string EscapeXmlText(std::string_view text) {
  std::string characters;
  characters.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    const char c = text[at];
    const auto u = static_cast<uint8_t>(c);
    if (u < 0x80) {
      if (u >= 0x20 || c == '\t' || c == '\n' || c == '\r') characters += c;
      ++at;
    } else if (const size_t length = ValidCharacterLength(text, at)) {
      characters.append(text.substr(at, length));
      at += length;
    } else {
      characters += kReplacement;
      ++at;
    }
  }
  return EscapeHtml(characters);
}

}  // namespace quorvant
