#include "core/publishing/mail_headers.h"

#include <atomic>
#include <cstdio>
#include <random>
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

namespace {

bool IsAlnum(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c >= 128;
}

bool IsAtext(unsigned char c) {
  return IsAlnum(c) || std::string_view("!#$%&'*+-/=?^_`{|}~").find(static_cast<char>(c)) !=
                           std::string_view::npos;
}

// Dot-string: atoms of atext joined by single dots.
bool DotString(std::string_view text) {
  if (text.empty() || text.front() == '.' || text.back() == '.') return false;
  for (size_t i = 0; i < text.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '.') {
      if (text[i - 1] == '.') return false;
    } else if (!IsAtext(c)) {
      return false;
    }
  }
  return true;
}

// Quoted-string: printable ASCII between quotes, with backslash pairs.
bool QuotedString(std::string_view text) {
  if (text.size() < 2 || text.front() != '"' || text.back() != '"') return false;
  for (size_t i = 1; i + 1 < text.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 32 || c > 126 || c == '"') return false;
    if (c == '\\') {
      if (i + 2 >= text.size()) return false;  // the closing quote cannot be escaped
      unsigned char next = static_cast<unsigned char>(text[++i]);
      if (next < 32 || next > 126) return false;
    }
  }
  return true;
}

// Letters, digits and hyphens, starting and ending with a letter or digit.
bool LdhLabel(std::string_view label) {
  if (label.empty() || !IsAlnum(label.front()) || !IsAlnum(label.back())) return false;
  for (unsigned char c : label)
    if (!IsAlnum(c) && c != '-') return false;
  return true;
}

bool Domain(std::string_view domain) {
  size_t start = 0;
  while (true) {
    size_t dot = domain.find('.', start);
    if (!LdhLabel(domain.substr(start, dot == domain.npos ? dot : dot - start))) return false;
    if (dot == domain.npos) return true;
    start = dot + 1;
  }
}

bool Ipv4Literal(std::string_view text) {
  int parts = 0;
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t end = text.find('.', pos);
    std::string_view part = text.substr(pos, end == text.npos ? end : end - pos);
    if (part.empty() || part.size() > 3) return false;
    int value = 0;
    for (char c : part) {
      if (c < '0' || c > '9') return false;
      value = value * 10 + (c - '0');
    }
    if (value > 255 || ++parts > 4) return false;
    if (end == text.npos) break;
    pos = end + 1;
  }
  return parts == 4;
}

// A standardised tag (such as "IPv6"), ":", and printable ASCII other than
// brackets and backslash.
bool GeneralLiteral(std::string_view text) {
  size_t colon = text.find(':');
  if (colon == text.npos || colon == 0 || colon + 1 == text.size()) return false;
  std::string_view tag = text.substr(0, colon);
  if (!IsAlnum(tag.back())) return false;
  for (unsigned char c : tag)
    if (c >= 128 || (!IsAlnum(c) && c != '-')) return false;
  for (unsigned char c : text.substr(colon + 1))
    if (c < 33 || c > 126 || c == '[' || c == ']' || c == '\\') return false;
  return true;
}

bool AddressLiteral(std::string_view text) {
  if (text.size() < 2 || text.front() != '[' || text.back() != ']') return false;
  std::string_view inside = text.substr(1, text.size() - 2);
  return Ipv4Literal(inside) || GeneralLiteral(inside);
}

}  // namespace

bool ValidMailbox(std::string_view address) {
  size_t at = address.rfind('@');
  if (at == std::string_view::npos) return false;
  std::string_view local = address.substr(0, at);
  std::string_view domain = address.substr(at + 1);
  return (DotString(local) || QuotedString(local)) && (Domain(domain) || AddressLiteral(domain));
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

namespace {

// Where the ") " before the address of a To entry stands; npos for none.
size_t AddressSeparator(std::string_view to_entry) {
  for (size_t close = to_entry.find(") "); close != std::string_view::npos;
       close = to_entry.find(") ", close + 1)) {
    if (ValidMailbox(TrimBlanks(to_entry.substr(close + 2)))) return close;
  }
  return to_entry.rfind(") ");
}

}  // namespace

std::string RecipientOfToEntry(std::string_view to_entry) {
  size_t close = AddressSeparator(to_entry);
  if (close == std::string_view::npos) return std::string(TrimBlanks(to_entry));
  return std::string(TrimBlanks(to_entry.substr(close + 2)));
}

std::string ToHeaderOfEntry(std::string_view to_entry) {
  size_t close = AddressSeparator(to_entry);
  if (to_entry.starts_with("(") && close != std::string_view::npos)
    return FormatMailbox(to_entry.substr(1, close - 1), RecipientOfToEntry(to_entry));
  return HeaderSafeText(TrimBlanks(to_entry));
}

std::string DateHeaderValue(std::time_t moment) {
  static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::tm utc{};
  gmtime_r(&moment, &utc);
  char text[40];
  std::snprintf(text, sizeof text, "%s, %02d %s %04d %02d:%02d:%02d +0000", kDays[utc.tm_wday],
                utc.tm_mday, kMonths[utc.tm_mon], utc.tm_year + 1900, utc.tm_hour, utc.tm_min,
                utc.tm_sec);
  return text;
}

std::string NewMessageId(std::string_view reply_address) {
  // Time, a random number drawn once per process and a counter: unique
  // across runs and machines without any state on disk.
  static std::atomic<uint64_t> counter{0};
  static const uint64_t process_random = [] {
    std::random_device device;
    return (static_cast<uint64_t>(device()) << 32) | device();
  }();
  char unique[64];
  std::snprintf(unique, sizeof unique, "%llx.%016llx.%llu",
                static_cast<unsigned long long>(std::time(nullptr)),
                static_cast<unsigned long long>(process_random),
                static_cast<unsigned long long>(++counter));
  std::string_view domain = reply_address.substr(reply_address.rfind('@') + 1);
  return "<" + std::string(unique) + "@" + HeaderSafeText(domain) + ">";
}

}  // namespace quorvant
