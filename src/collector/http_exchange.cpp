#include "collector/http_exchange.h"

#include "core/shell/text_helpers.h"

namespace quorvant::collector {

std::string HttpRequest::Header(std::string_view name) const {
  const std::string wanted = ToLowerAscii(name);
  for (const auto& [key, value] : headers) {
    if (ToLowerAscii(key) == wanted) return value;
  }
  return {};
}

}  // namespace quorvant::collector
