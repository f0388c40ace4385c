// Encoding of form fields as "application/x-www-form-urlencoded" text: the
// way the collector keeps a submission's answers in its database, and the
// inverse of DecodeForm().
#pragma once

#include <string>

#include "collector/form_decoding.h"

namespace quorvant::collector {

// Every byte but letters, digits and "-._~" is written as "%XX".
std::string EncodeForm(const FormFields& fields);

}  // namespace quorvant::collector
