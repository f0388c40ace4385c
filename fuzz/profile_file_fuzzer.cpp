// Fuzz target: profile files must parse, answer lookups and survive a write
// and re-parse of anything.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/shell/profile_file.h"
#include "fuzz_helpers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  quorvant::ProfileFile file = quorvant::ProfileFile::Parse(std::string(text));
  for (const char* section : {"Details", "Question 1", "Values", ""}) {
    for (const std::string& key : file.KeysOf(section)) {
      const std::string value = file.ReadString(section, key, "");
      (void)file.ReadInteger(section, key, 0);
      file.WriteString(section, key, value);
      const std::string back =
          quorvant::ProfileFile::Parse(file.ToText()).ReadString(section, key, "");
      if (back != quorvant::fuzz::AsWritten(value)) {
        __builtin_trap();  // a value written must read back unchanged
      }
    }
  }
  file.WriteString("Details", "Name", text.substr(0, 64));
  file.EraseSection("Values");
  (void)quorvant::ProfileFile::Parse(file.ToText());
  return 0;
}
