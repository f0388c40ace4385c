#include "collector/form_encoding.h"

#include "core/shell/percent_encoding.h"

namespace quorvant::collector {

std::string EncodeForm(const FormFields& fields) {
  std::string out;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) out += '&';
    out += PercentEncode(fields[i].first);
    out += '=';
    out += PercentEncode(fields[i].second);
  }
  return out;
}

}  // namespace quorvant::collector
