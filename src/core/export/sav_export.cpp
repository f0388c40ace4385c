// The SPSS .sav writer: ReadStat's, with SPSS's limits (names of 64 bytes,
// variable labels of 256 and value labels of 120, strings of 32767 bytes),
// rows compressed as SPSS does by default, -9999 declared missing for
// numbers and the time stamp as SPSS's seconds since 14 October 1582 shown
// as DATETIME20.
#include "core/export/readstat_export.h"

namespace quorvant {
namespace {

// Days from 1582-10-14 to 1970-01-01.
constexpr int64_t kSpssEpochDays = 141428;

double SpssSeconds(int64_t seconds) {
  return static_cast<double>(seconds + kSpssEpochDays * 86400);
}

const ReadStatProfile kSav = {
    .limits = {.format = ".sav",
               .name = {.bytes = 64},
               .variable_label = {.bytes = 256},
               .value_label = {.bytes = 120},
               .text = {.bytes = 32767}},
    .begin = &readstat_begin_writing_sav,
    .code_type = READSTAT_TYPE_DOUBLE,
    .tagged_missing = false,
    .compress_rows = true,
    .max_string = 32767,
    .long_texts = false,
    .number_format = "F8.0",
    .datetime_format = "DATETIME20",
    .datetime_value = &SpssSeconds,
};

}  // namespace

std::unique_ptr<ExportWriter> MakeSavWriter(const std::string& path, const ExportOptions&,
                                            CutReport& report, Env& env) {
  return MakeReadStatWriter(path, kSav, report, env);
}

}  // namespace quorvant
