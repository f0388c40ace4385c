// Fuzz target: comma-separated text must parse whatever it is given, and
// the records written out again must parse to the same records.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/emaillists/csv_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto records = quorvant::ParseCsv(text);
  std::string written;
  for (const auto& record : records) written += quorvant::CsvLine(record);
  // A byte-order mark that opens the written text would be skipped.
  if (written.starts_with("\xEF\xBB\xBF")) return 0;
  if (quorvant::ParseCsv(written) != records) __builtin_trap();
  return 0;
}
