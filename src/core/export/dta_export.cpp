// The Stata .dta writer: ReadStat's format 118 (Stata 14 and later, UTF-8),
// with Stata's limits (names of 32 characters, variable labels of 80,
// value labels of 32000 bytes), codes and boxes as long integers, -9999 as
// the extended missing value .a, texts beyond 2045 bytes as strL and the
// time stamp as Stata's milliseconds since 1960 shown as %tc.
#include "core/export/readstat_export.h"

namespace quorvant {
namespace {

// Days from 1960-01-01 to 1970-01-01.
constexpr int64_t kStataEpochDays = 3653;

double StataMilliseconds(int64_t seconds) {
  return static_cast<double>(seconds + kStataEpochDays * 86400) * 1000.0;
}

const ReadStatProfile kDta = {
    .limits = {.format = ".dta",
               .name = {.bytes = 128, .characters = 32},
               .variable_label = {.bytes = 320, .characters = 80},
               .value_label = {.bytes = 32000},
               .text = {}},
    .begin = &readstat_begin_writing_dta,
    .code_type = READSTAT_TYPE_INT32,
    .tagged_missing = true,
    .compress_rows = false,
    .max_string = 2045,
    .long_texts = true,
    .number_format = nullptr,
    .datetime_format = "%tc",
    .datetime_value = &StataMilliseconds,
};

}  // namespace

std::unique_ptr<ExportWriter> MakeDtaWriter(const std::string& path, const ExportOptions&,
                                            CutReport& report, Env& env) {
  return MakeReadStatWriter(path, kDta, report, env);
}

}  // namespace quorvant
