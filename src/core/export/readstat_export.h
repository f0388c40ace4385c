// The writer of the two formats ReadStat writes for us, SPSS .sav and Stata
// .dta, driven by what differs between them: their limits, how they store
// codes, missing numbers and date-times, and how long a text may be.
//
// Thread-safety: profiles are constants.
#pragma once

#include <readstat.h>

#include <cstdint>
#include <memory>
#include <string>

#include "core/export/export_writer.h"

namespace quorvant {

struct ReadStatProfile {
  FormatLimits limits;
  readstat_error_t (*begin)(readstat_writer_t*, void*, long);
  readstat_type_t code_type;  // codes and boxes; their value labels of the same type
  // true: -9999 written as the tagged missing value .a (Stata has no
  // missing values among real numbers); false: declared a missing value.
  bool tagged_missing;
  bool compress_rows;
  // Texts up to this many bytes are fixed-width strings; longer ones are
  // cut to it, or stored as long texts where the format has them.
  size_t max_string;
  bool long_texts;
  const char* number_format;  // codes, boxes and numbers (all whole); nullptr: the default
  const char* datetime_format;
  double (*datetime_value)(int64_t seconds_since_1970);
};

std::unique_ptr<ExportWriter> MakeReadStatWriter(const std::string& path,
                                                 const ReadStatProfile& profile,
                                                 CutReport& report, Env& env);

}  // namespace quorvant
