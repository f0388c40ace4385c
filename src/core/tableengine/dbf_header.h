// The header of a .dbf file: the 32-byte table prefix (version, date of last
// change, record count, header and record lengths) followed by one 32-byte
// descriptor per field and a 0x0D terminator. See format.md.
//
// Thread-safety: a plain value.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/tableengine/field_codec.h"

namespace quorvant {

inline constexpr uint8_t kVersionFoxProMemo = 0xF5;
inline constexpr size_t kPrefixLength = 32;
// The byte we write after the last record. Other writers may leave it out,
// so reading never relies on it.
inline constexpr char kEndOfFile = 0x1A;

struct DbfHeader {
  uint8_t version = kVersionFoxProMemo;
  int year = 1900, month = 1, day = 1;  // last change
  uint32_t record_count = 0;
  uint32_t header_length = 0;
  uint32_t record_length = 0;
  std::vector<FieldDef> fields;  // with offsets

  // A header for a new table of these fields (already validated).
  static DbfHeader ForFields(std::vector<FieldDef> fields);

  // Length of the whole header as the prefix says; throws ETableError
  // (kCorrupt) naming path when the prefix is not one of a table we read.
  static uint32_t HeaderLength(std::string_view prefix, const std::string& path);

  // Parses the whole header. file_size is checked against the record count
  // so that a truncated file is reported, not read past its end. Throws
  // ETableError (kCorrupt) naming path.
  static DbfHeader Parse(std::string_view bytes, uint64_t file_size, const std::string& path);

  std::string Serialize() const;        // the whole header
  std::string SerializePrefix() const;  // the first 32 bytes only

  bool HasMemo() const;
  uint64_t RecordOffset(uint32_t recno) const {  // recno counts from 1
    return header_length + uint64_t{recno - 1} * record_length;
  }
};

}  // namespace quorvant
