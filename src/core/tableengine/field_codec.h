// Field definitions and the text form of field values inside a record.
//
// A record holds every field as fixed-width bytes: character fields padded
// with blanks, numbers right-aligned in decimal, memo fields the number of
// their first block in the memo file (blank when the memo is empty), dates
// as YYYYMMDD and logicals as one of "TtYyFfNn?". Character text is UTF-8
// and is cut without splitting a character.
//
// Thread-safety: all functions are pure.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvant {

struct FieldDef {
  std::string name;  // upper case, 1 to 10 characters
  char type = 'C';   // C, N, M; D and L are read from other programs' tables
  int width = 1;
  int decimals = 0;
  int offset = 0;  // position in the record, after the deletion mark (set by the header)
};

// The format's limits.
inline constexpr int kMaxFieldNameLength = 10;
inline constexpr int kMaxFields = 2000;
inline constexpr int kMaxRecordLength = 65000;

// Throws ETableError (kDefinition) naming the table file and the offending
// field when the list cannot be stored: no fields, too many, a name that is
// empty, too long, not made of letters, digits and "_" or used twice, an
// unknown type, or a width the type does not allow (character 1 to 254,
// numeric 1 to 20 with fewer decimals than width, memo 10, date 8,
// logical 1), or records longer than kMaxRecordLength.
void ValidateFields(const std::vector<FieldDef>& fields, const std::string& table_path);

// ASCII only, whatever the process's locale.
inline bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
inline bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }
inline char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

// 1 to 10 letters, digits and "_", starting with a letter: the names of
// fields and of index tags.
bool ValidName(std::string_view name);

// Upper-case form used for every field-name comparison.
std::string FieldKey(std::string_view name);

// text cut to width bytes at a character boundary and padded with blanks.
std::string EncodeCharacter(std::string_view text, int width);
// The same written over out[0, width), for filling a record in place.
void EncodeCharacterInto(std::string_view text, int width, char* out);

// The number right-aligned with `decimals` digits after the point; nullopt
// when it does not fit the width.
std::optional<std::string> EncodeNumber(double value, int width, int decimals);
// The same written over out[0, width); false, leaving out as it was, when
// it does not fit.
bool EncodeNumberInto(double value, int width, int decimals, char* out);

// The number a numeric field holds; nullopt for a blank field or a text
// that is not a number.
std::optional<double> DecodeNumber(std::string_view raw);

// A memo field's block number (FoxPro stores it as decimal text in 10 bytes,
// Visual FoxPro as a 4-byte little-endian integer); 0 means no memo.
uint32_t DecodeMemoBlock(std::string_view raw);
std::string EncodeMemoBlock(uint32_t block, int width);

// A raw value with its trailing blanks removed.
std::string_view TrimRight(std::string_view raw);

}  // namespace quorvant
