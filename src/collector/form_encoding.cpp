#include "collector/form_encoding.h"

namespace quorvant::collector {
namespace {

void AppendEncoded(std::string& out, const std::string& text) {
  static const char kHex[] = "0123456789ABCDEF";
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if ((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '-' ||
        u == '.' || u == '_' || u == '~') {
      out += c;
    } else {
      out += '%';
      out += kHex[u >> 4];
      out += kHex[u & 15];
    }
  }
}

}  // namespace

std::string EncodeForm(const FormFields& fields) {
  std::string out;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) out += '&';
    AppendEncoded(out, fields[i].first);
    out += '=';
    AppendEncoded(out, fields[i].second);
  }
  return out;
}

}  // namespace quorvant::collector
