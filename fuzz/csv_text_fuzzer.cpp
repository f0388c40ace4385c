// Fuzz target: comma-separated text must parse whatever it is given, mending
// at most one line whose quote is never closed, and the records written out
// again must parse to the same records with nothing to mend.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/emaillists/csv_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const quorvant::CsvText parsed = quorvant::ParseCsvText(text);
  if (parsed.mended_lines.size() > 1) __builtin_trap();
  std::string written;
  for (const auto& record : parsed.records) written += quorvant::CsvLine(record);
  // A byte-order mark that opens the written text would be skipped.
  if (written.starts_with("\xEF\xBB\xBF")) return 0;
  const quorvant::CsvText again = quorvant::ParseCsvText(written);
  if (again.records != parsed.records || !again.mended_lines.empty()) __builtin_trap();
  return 0;
}
