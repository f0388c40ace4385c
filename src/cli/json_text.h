// The pieces of quorvant-cli's JSON output: strings quoted and escaped,
// numbers in the shortest form that reads back as the same double.
#pragma once

#include <string>

namespace quorvant::cli {

std::string JsonString(const std::string& text);
std::string JsonNumber(double value);

}  // namespace quorvant::cli
