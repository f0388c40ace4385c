// RecordCells: one record of the response table read into one cell per
// variable of an export dictionary, for the writers to stream. Built once
// per export; reading a record looks at bytes in place and allocates
// nothing, but for memo texts, which the table hands out as strings.
//
// Values, by kind (a field the table lacks reads as blank):
//  - kCode: the stored text trimmed, "OTH" in any case the Other code, else
//    a decimal integer; anything else missing.
//  - kTick: "Y" is 1, a blank field missing, anything else 0.
//  - kNumber: the number, missing when blank or no number (-9999 is kept:
//    the writers declare it missing).
//  - kText: character fields without their trailing padding, memo texts
//    whole (line breaks kept); a blank one is the empty text.
//  - kDateTime: YYYYMMDDHHMMSS as seconds since 1970-01-01 00:00:00 of the
//    same clock (no time zone), missing unless a valid stamp.
//
// Ownership: refers to the dictionary, which must outlive it. Thread-safety:
// none.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/export/export_dictionary.h"
#include "core/tableengine/expression.h"

namespace quorvant {

struct ExportCell {
  bool missing = true;
  double number = 0;      // kCode, kTick, kNumber, kDateTime
  std::string_view text;  // kText; valid until the next record is read
};

class RecordCells {
 public:
  explicit RecordCells(const VariableDictionary& dictionary);

  // Reads the record `bytes` (as RecordVisitor gets it).
  void Read(std::string_view bytes, RecordSource& source);
  const std::vector<ExportCell>& cells() const { return cells_; }

 private:
  const VariableDictionary& dictionary_;
  std::vector<ExportCell> cells_;
  std::vector<std::string> memos_;  // per variable, the memo text last read
};

// Seconds since 1970-01-01 00:00:00 of a YYYYMMDDHHMMSS stamp; nothing when
// it is not 14 digits of a real date and time.
std::optional<int64_t> StampSeconds(std::string_view stamp);

// "YYYY-MM-DD HH:MM:SS" of seconds since 1970-01-01, written into out
// (which holds at least 20 bytes); returns the 19 bytes written.
std::string_view StampText(int64_t seconds, char* out);

}  // namespace quorvant
