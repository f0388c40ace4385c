#include "core/publishing/mail_headers.h"

#include <string>

#include "core/shell/text_helpers.h"

namespace quorvant {
namespace {

constexpr char kBase64Digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

}  // namespace

std::string Base64(std::string_view bytes) {
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    uint32_t v = (static_cast<unsigned char>(bytes[i]) << 16) |
                 (static_cast<unsigned char>(bytes[i + 1]) << 8) |
                 static_cast<unsigned char>(bytes[i + 2]);
    for (int shift = 18; shift >= 0; shift -= 6) out += kBase64Digits[(v >> shift) & 63];
  }
  if (i < bytes.size()) {
    uint32_t v = static_cast<unsigned char>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) v |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    out += kBase64Digits[(v >> 18) & 63];
    out += kBase64Digits[(v >> 12) & 63];
    out += i + 1 < bytes.size() ? kBase64Digits[(v >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

namespace {

bool IsAscii(std::string_view text) {
  for (unsigned char c : text)
    if (c >= 128) return false;
  return true;
}

// Bytes of the UTF-8 sequence starting with lead (1 for a stray byte).
size_t SequenceLength(unsigned char lead) {
  if (lead >= 0xF0) return 4;
  if (lead >= 0xE0) return 3;
  if (lead >= 0xC0) return 2;
  return 1;
}

}  // namespace

std::string HeaderSafeText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char ch : text) {
    unsigned char c = static_cast<unsigned char>(ch);
    if (c == '\t') {
      out += ' ';
    } else if (c >= 32 && c != 127) {
      out += ch;
    }
  }
  return out;
}

std::string EncodeHeaderText(std::string_view text) {
  std::string safe = HeaderSafeText(text);
  if (IsAscii(safe)) return safe;
  // 12 characters of "=?UTF-8?B?" and "?=" leave 63 for base64, so 45 bytes
  // of text (60 digits) per word.
  constexpr size_t kWordBytes = 45;
  std::string out;
  size_t pos = 0;
  while (pos < safe.size()) {
    size_t end = pos;
    while (end < safe.size()) {
      size_t n = SequenceLength(static_cast<unsigned char>(safe[end]));
      if (end + n - pos > kWordBytes) break;
      end += n;
    }
    if (end == pos) end = std::min(safe.size(), pos + kWordBytes);
    if (!out.empty()) out += "\r\n ";
    out += "=?UTF-8?B?" + Base64(std::string_view(safe).substr(pos, end - pos)) + "?=";
    pos = end;
  }
  return out;
}

bool PlausibleAddress(std::string_view address) {
  size_t at = address.find('@');
  if (at == std::string_view::npos || at == 0 || address.find('@', at + 1) != address.npos)
    return false;
  for (unsigned char c : address) {
    if (c <= 32 || c == 127) return false;
    if (std::string_view("<>,;:\"()[]\\").find(static_cast<char>(c)) != std::string_view::npos)
      return false;
  }
  std::string_view domain = address.substr(at + 1);
  size_t dot = domain.find('.');
  return dot != domain.npos && dot > 0 && domain.back() != '.' && domain.find("..") == domain.npos;
}

std::string FormatMailbox(std::string_view display_name, std::string_view address) {
  std::string name = HeaderSafeText(TrimBlanks(display_name));
  if (name.empty()) return std::string(address);
  if (!IsAscii(name)) return EncodeHeaderText(name) + " <" + std::string(address) + ">";
  std::string quoted = "\"";
  for (char c : name) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + "\" <" + std::string(address) + ">";
}

std::string RecipientOfToEntry(std::string_view to_entry) {
  size_t close = to_entry.rfind(") ");
  if (close == std::string_view::npos) return std::string(TrimBlanks(to_entry));
  return std::string(TrimBlanks(to_entry.substr(close + 2)));
}

std::string ToHeaderOfEntry(std::string_view to_entry) {
  size_t close = to_entry.rfind(") ");
  if (to_entry.starts_with("(") && close != std::string_view::npos)
    return FormatMailbox(to_entry.substr(1, close - 1), RecipientOfToEntry(to_entry));
  return HeaderSafeText(TrimBlanks(to_entry));
}

}  // namespace quorvant
