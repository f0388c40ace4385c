// Decoding of "application/x-www-form-urlencoded" text, the body of a form
// submission and the query of a request URL.
//
// The decoder is strict, because its input comes from anyone on the network:
// a "%" not followed by two hex digits, too many fields, or a name or value
// beyond the limits makes the whole text invalid rather than half-read.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorvant::collector {

using FormFields = std::vector<std::pair<std::string, std::string>>;

struct FormLimits {
  size_t max_fields = 5000;
  size_t max_name = 256;
  size_t max_value = 64 * 1024;
};

// The fields in the order they stand; "+" decodes to a blank. Nothing when
// the text breaks a rule above. An empty text gives no fields.
std::optional<FormFields> DecodeForm(std::string_view text, const FormLimits& limits = {});

// The value of the first field called name (exact case), or nothing.
std::optional<std::string> FieldValue(const FormFields& fields, std::string_view name);

}  // namespace quorvant::collector
