// Percent-encoding of text for URLs and web-form bodies.
#pragma once

#include <string>
#include <string_view>

namespace quorvant {

// Every byte but ASCII letters, digits and "-._~" written as "%XX" (upper-case
// hex), so the text passes whole through a query or a form field.
std::string PercentEncode(std::string_view text);

}  // namespace quorvant
