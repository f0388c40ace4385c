// Fuzz target: comma text must decode anything, and encoding what it decoded
// must decode to the same lines.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/survey/comma_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto lines = quorvant::SplitCommaText(text);
  // A final empty line cannot be told from a trailing comma; everything else
  // must survive the round trip.
  if (!lines.empty() && !lines.back().empty()) {
    if (quorvant::SplitCommaText(quorvant::JoinCommaText(lines)) != lines) __builtin_trap();
  }
  return 0;
}
