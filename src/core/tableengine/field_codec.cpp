#include "core/tableengine/field_codec.h"

#include <charconv>
#include <cmath>
#include <set>

#include "core/shell/text_helpers.h"
#include "core/tableengine/table_error.h"

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
  std::string out(Utf8Prefix(text, static_cast<size_t>(width)));
  out.resize(static_cast<size_t>(width), ' ');
  return out;
}

std::optional<std::string> EncodeNumber(double value, int width, int decimals) {
  if (!std::isfinite(value)) return std::nullopt;
  // to_chars, unlike printf, ignores the locale's decimal comma.
  char buf[400];
  const auto [end, ec] =
      std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
  const auto n = end - buf;
  if (ec != std::errc() || n > width) return std::nullopt;
  std::string text(buf, static_cast<size_t>(n));
  if (text == "-0") text = "0";
  return std::string(static_cast<size_t>(width) - text.size(), ' ') + text;
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
  while (n > 0 && raw[n - 1] == ' ') --n;
  return raw.substr(0, n);
}

}  // namespace quorvant
