#include "core/tableengine/dbf_header.h"

#include "core/env/table_error.h"

namespace quorvant {
namespace {

constexpr size_t kDescriptorLength = 32;
constexpr char kTerminator = 0x0D;

uint32_t Get16(std::string_view b, size_t at) {
  return static_cast<uint8_t>(b[at]) | static_cast<uint32_t>(static_cast<uint8_t>(b[at + 1])) << 8;
}
uint32_t Get32(std::string_view b, size_t at) { return Get16(b, at) | Get16(b, at + 2) << 16; }
void Put16(std::string& b, size_t at, uint32_t v) {
  b[at] = static_cast<char>(v & 0xFF);
  b[at + 1] = static_cast<char>(v >> 8 & 0xFF);
}
void Put32(std::string& b, size_t at, uint32_t v) {
  Put16(b, at, v & 0xFFFF);
  Put16(b, at + 2, v >> 16);
}

[[noreturn]] void Damaged(const std::string& path, const std::string& why) {
  throw ETableError(ETableError::Code::kCorrupt,
                    "The table " + path + " is damaged or not a dBase table: " + why);
}

bool KnownVersion(uint8_t v) {
  // dBase III and FoxBase without memo, FoxPro 2.x with memo, Visual FoxPro.
  return v == 0x03 || v == 0xF5 || v == 0x30 || v == 0x31;
}

}  // namespace

DbfHeader DbfHeader::ForFields(std::vector<FieldDef> fields) {
  DbfHeader h;
  int offset = 1;
  for (FieldDef& f : fields) {
    f.name = FieldKey(f.name);
    f.offset = offset;
    offset += f.width;
  }
  h.fields = std::move(fields);
  h.record_length = static_cast<uint32_t>(offset);
  h.header_length = static_cast<uint32_t>(kPrefixLength + kDescriptorLength * h.fields.size() + 1);
  return h;
}

uint32_t DbfHeader::HeaderLength(std::string_view prefix, const std::string& path) {
  if (prefix.size() < kPrefixLength) Damaged(path, "the file is shorter than a table header");
  if (!KnownVersion(static_cast<uint8_t>(prefix[0]))) Damaged(path, "unknown version byte");
  const uint32_t length = Get16(prefix, 8);
  if (length < kPrefixLength + kDescriptorLength + 1) Damaged(path, "header length too small");
  return length;
}

DbfHeader DbfHeader::Parse(std::string_view b, uint64_t file_size, const std::string& path) {
  DbfHeader h;
  h.header_length = HeaderLength(b, path);
  if (b.size() < h.header_length) Damaged(path, "the header is cut short");
  h.version = static_cast<uint8_t>(b[0]);
  h.year = 1900 + static_cast<uint8_t>(b[1]);
  h.month = static_cast<uint8_t>(b[2]);
  h.day = static_cast<uint8_t>(b[3]);
  h.record_count = Get32(b, 4);
  h.record_length = Get16(b, 10);
  int offset = 1;
  size_t at = kPrefixLength;
  for (; at + kDescriptorLength <= h.header_length && b[at] != kTerminator;
       at += kDescriptorLength) {
    FieldDef f;
    const std::string_view raw_name = b.substr(at, 11);
    f.name = FieldKey(raw_name.substr(0, raw_name.find('\0')));
    f.type = AsciiUpper(b[at + 11]);
    f.width = static_cast<uint8_t>(b[at + 16]);
    f.decimals = static_cast<uint8_t>(b[at + 17]);
    if (f.name.empty() || f.width == 0)
      Damaged(path, "field descriptor " + std::to_string(h.fields.size() + 1));
    // Character fields wider than 255 keep the high byte of the width in
    // the decimals byte (FoxPro and Clipper do so).
    if (f.type == 'C' && f.decimals > 0) {
      f.width += f.decimals << 8;
      f.decimals = 0;
    }
    f.offset = offset;
    offset += f.width;
    h.fields.push_back(std::move(f));
  }
  if (at >= h.header_length || b[at] != kTerminator) Damaged(path, "no end of the field list");
  if (h.fields.empty()) Damaged(path, "no fields");
  if (static_cast<uint32_t>(offset) != h.record_length) {
    Damaged(path, "the record length does not match the fields");
  }
  const uint64_t needed = uint64_t{h.header_length} + uint64_t{h.record_count} * h.record_length;
  if (file_size < needed) {
    Damaged(path, "the file holds fewer records than its header counts (truncated)");
  }
  return h;
}

std::string DbfHeader::SerializePrefix() const {
  std::string b(kPrefixLength, '\0');
  b[0] = static_cast<char>(version);
  b[1] = static_cast<char>(year - 1900);
  b[2] = static_cast<char>(month);
  b[3] = static_cast<char>(day);
  Put32(b, 4, record_count);
  Put16(b, 8, header_length);
  Put16(b, 10, record_length);
  return b;
}

std::string DbfHeader::Serialize() const {
  std::string b = SerializePrefix();
  for (const FieldDef& f : fields) {
    std::string d(kDescriptorLength, '\0');
    d.replace(0, f.name.size(), f.name);
    d[11] = f.type;
    Put32(d, 12, static_cast<uint32_t>(f.offset));
    d[16] = static_cast<char>(f.width & 0xFF);
    d[17] = static_cast<char>(f.decimals);
    b += d;
  }
  b += kTerminator;
  b.resize(header_length, '\0');
  return b;
}

bool DbfHeader::HasMemo() const {
  for (const FieldDef& f : fields) {
    if (f.type == 'M') return true;
  }
  return false;
}

}  // namespace quorvant
