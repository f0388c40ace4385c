// Fuzz target: the collector's decoding of submitted forms and request
// queries. Any text either decodes or is refused whole; what decodes encodes
// and decodes again to the same fields, and no field breaks the limits.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "collector/form_decoding.h"
#include "collector/form_encoding.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quorvant::collector;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const FormLimits limits{40, 16, 64};  // small, so that the fuzzer reaches them
  const auto fields = DecodeForm(text, limits);
  if (!fields) return 0;
  if (fields->size() > limits.max_fields) __builtin_trap();
  for (const auto& [name, value] : *fields) {
    if (name.size() > limits.max_name || value.size() > limits.max_value) __builtin_trap();
    if (FieldValue(*fields, name) == std::nullopt) __builtin_trap();
  }
  const auto again = DecodeForm(EncodeForm(*fields), limits);
  if (!again || *again != *fields) __builtin_trap();
  return 0;
}
