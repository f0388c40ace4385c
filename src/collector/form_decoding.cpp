#include "collector/form_decoding.h"

namespace quorvant::collector {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool DecodePart(std::string_view part, size_t limit, std::string& out) {
  out.clear();
  for (size_t i = 0; i < part.size(); ++i) {
    char c = part[i];
    if (c == '+') {
      c = ' ';
    } else if (c == '%') {
      const int hi = i + 1 < part.size() ? HexDigit(part[i + 1]) : -1;
      const int lo = i + 2 < part.size() ? HexDigit(part[i + 2]) : -1;
      if (hi < 0 || lo < 0) return false;
      c = static_cast<char>(hi * 16 + lo);
      i += 2;
    }
    if (out.size() == limit) return false;
    out += c;
  }
  return true;
}

}  // namespace

std::optional<FormFields> DecodeForm(std::string_view text, const FormLimits& limits) {
  FormFields fields;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('&', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view pair = text.substr(start, end - start);
    start = end + 1;
    if (pair.empty()) {
      if (end == text.size()) break;
      continue;
    }
    if (fields.size() == limits.max_fields) return std::nullopt;
    const size_t eq = pair.find('=');
    std::string name, value;
    if (!DecodePart(pair.substr(0, eq), limits.max_name, name)) return std::nullopt;
    if (eq != std::string_view::npos && !DecodePart(pair.substr(eq + 1), limits.max_value, value)) {
      return std::nullopt;
    }
    fields.emplace_back(std::move(name), std::move(value));
  }
  return fields;
}

std::optional<std::string> FieldValue(const FormFields& fields, std::string_view name) {
  for (const auto& [n, v] : fields) {
    if (n == name) return v;
  }
  return std::nullopt;
}

}  // namespace quorvant::collector
