// Fuzz target: date-time texts must parse or be refused, and every value that
// parses must print and parse back to the same second.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/shell/date_time.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto value = quorvant::TextToDateTime(text);
  if (!value) return 0;
  const auto printed = quorvant::DateTimeToText(*value);
  if (!printed) __builtin_trap();
  const auto again = quorvant::TextToDateTime(*printed);
  if (!again || std::fabs(*again - *value) > 1.0 / 86400) __builtin_trap();
  return 0;
}
