// Helpers shared by the fuzz targets.
#pragma once

#include <stdlib.h>

#include <filesystem>
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

// The scratch folder of this process, removed when the process ends.
inline const std::string& ScratchDir() {
  struct Dir {
    std::string path;
    Dir() {
      char pattern[] = "/tmp/quorvant-fuzz-XXXXXX";
      path = ::mkdtemp(pattern);
    }
    ~Dir() { std::filesystem::remove_all(path); }
  };
  static const Dir dir;
  return dir.path;
}

}  // namespace quorvant::fuzz
