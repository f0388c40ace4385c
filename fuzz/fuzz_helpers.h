// Helpers shared by the fuzz targets.
#pragma once

#include <string>

namespace quorvant::fuzz {

// A text as a profile file stores it: line breaks, which a line-based file
// cannot hold, become blanks.
inline std::string AsWritten(std::string value) {
  for (char& c : value) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return value;
}

}  // namespace quorvant::fuzz
