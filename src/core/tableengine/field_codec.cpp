#include "core/tableengine/field_codec.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <set>

#include "core/env/table_error.h"
#include "core/shell/text_helpers.h"

namespace quorvant {
namespace {

[[noreturn]] void Refuse(const std::string& table_path, const std::string& why) {
  throw ETableError(ETableError::Code::kDefinition,
                    "Cannot create the table " + table_path + ": " + why);
}

bool ValidWidth(const FieldDef& f) {
  switch (f.type) {
    case 'C':
      return f.width >= 1 && f.width <= 254 && f.decimals == 0;
    case 'N':
      return f.width >= 1 && f.width <= 20 && f.decimals >= 0 &&
             (f.decimals == 0 || f.decimals < f.width - 1);
    case 'M':
      return f.width == 10 && f.decimals == 0;
    case 'D':
      return f.width == 8 && f.decimals == 0;
    case 'L':
      return f.width == 1 && f.decimals == 0;
    default:
      return false;
  }
}

}  // namespace

bool ValidName(std::string_view name) {
  if (name.empty() || name.size() > kMaxFieldNameLength) return false;
  if (!IsAsciiLetter(name[0])) return false;
  for (char c : name) {
    if (!IsAsciiLetter(c) && !IsAsciiDigit(c) && c != '_') return false;
  }
  return true;
}

void ValidateFields(const std::vector<FieldDef>& fields, const std::string& table_path) {
  if (fields.empty()) Refuse(table_path, "a table needs at least one field");
  if (fields.size() > kMaxFields) {
    Refuse(table_path, "more than " + std::to_string(kMaxFields) + " fields");
  }
  std::set<std::string> seen;
  long record_length = 1;
  for (const FieldDef& f : fields) {
    if (!ValidName(f.name)) {
      Refuse(table_path, "the field name \"" + f.name +
                             "\" is not 1 to 10 letters, digits or \"_\" starting with a letter");
    }
    if (!seen.insert(FieldKey(f.name)).second) {
      Refuse(table_path, "the field name " + f.name + " is used twice");
    }
    if (!ValidWidth(f)) {
      Refuse(table_path, "the field " + f.name + " of type " + std::string(1, f.type) +
                             " cannot have width " + std::to_string(f.width) + " and " +
                             std::to_string(f.decimals) + " decimals");
    }
    record_length += f.width;
  }
  if (record_length > kMaxRecordLength) {
    Refuse(table_path, "records of " + std::to_string(record_length) +
                           " bytes exceed the limit of " + std::to_string(kMaxRecordLength));
  }
}

std::string FieldKey(std::string_view name) {
  std::string key(name);
  for (char& c : key) c = AsciiUpper(c);
  return key;
}

std::string EncodeCharacter(std::string_view text, int width) {
  std::string out(static_cast<size_t>(width), ' ');
  EncodeCharacterInto(text, width, out.data());
  return out;
}

void EncodeCharacterInto(std::string_view text, int width, char* out) {
  const std::string_view kept = Utf8Prefix(text, static_cast<size_t>(width));
  std::memcpy(out, kept.data(), kept.size());
  std::memset(out + kept.size(), ' ', static_cast<size_t>(width) - kept.size());
}

std::optional<std::string> EncodeNumber(double value, int width, int decimals) {
  std::string out(static_cast<size_t>(width), ' ');
  if (!EncodeNumberInto(value, width, decimals, out.data())) return std::nullopt;
  return out;
}

bool EncodeNumberInto(double value, int width, int decimals, char* out) {
  if (!std::isfinite(value)) return false;
  // to_chars, unlike printf, ignores the locale's decimal comma. Whole
  // numbers, nearly all that a table holds, take the much quicker integer
  // form; it writes the same digits.
  char buf[400];
  std::to_chars_result done{};
  if (decimals == 0 && std::trunc(value) == value && std::fabs(value) < 1e15) {
    done = std::to_chars(buf, buf + sizeof buf, static_cast<int64_t>(value));
  } else {
    done = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
  }
  auto n = static_cast<size_t>(done.ptr - buf);
  if (done.ec != std::errc() || n > static_cast<size_t>(width)) return false;
  if (n == 2 && buf[0] == '-' && buf[1] == '0') {
    buf[0] = '0';
    n = 1;
  }
  const size_t pad = static_cast<size_t>(width) - n;
  std::memset(out, ' ', pad);
  std::memcpy(out + pad, buf, n);
  return true;
}

std::optional<double> DecodeNumber(std::string_view raw) {
  const std::string_view text = TrimBlanks(raw);
  if (text.empty()) return std::nullopt;
  const char* first = text.data();
  if (*first == '+') ++first;
  double value = 0;
  const auto [end, ec] = std::from_chars(first, text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

uint32_t DecodeMemoBlock(std::string_view raw) {
  if (raw.size() == 4) {
    uint32_t block = 0;
    for (int i = 3; i >= 0; --i) block = block << 8 | static_cast<unsigned char>(raw[i]);
    return block;
  }
  const std::optional<double> n = DecodeNumber(raw);
  if (!n || *n < 0 || *n > 4294967295.0) return 0;
  return static_cast<uint32_t>(*n);
}

std::string EncodeMemoBlock(uint32_t block, int width) {
  if (width == 4) {
    std::string out(4, '\0');
    for (int i = 0; i < 4; ++i) out[i] = static_cast<char>(block >> (8 * i) & 0xFF);
    return out;
  }
  if (block == 0) return std::string(static_cast<size_t>(width), ' ');
  return *EncodeNumber(block, width, 0);
}

std::string_view TrimRight(std::string_view raw) {
  size_t n = raw.size();
  // Wide fields are mostly blanks: look at eight of them at a time.
  constexpr uint64_t kBlanks = 0x2020202020202020ull;
  while (n >= 8) {
    uint64_t word;
    std::memcpy(&word, raw.data() + n - 8, 8);
    if (word != kBlanks) break;
    n -= 8;
  }
  while (n > 0 && raw[n - 1] == ' ') --n;
  return raw.substr(0, n);
}

}  // namespace quorvant
