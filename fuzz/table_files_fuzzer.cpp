// Fuzz target: any .dbf, .fpt and .cdx either open and read as a table or
// raise the table error. The input holds the three files one after the
// other, separated by the bytes "\n--file--\n"; missing parts are missing
// files.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "core/env/table_error.h"
#include "core/shell/atomic_file.h"
#include "core/tableengine/table.h"
#include "fuzz_helpers.h"

namespace {

void ReadEverything(quorvant::Table& t) {
  for (int order = 0; order <= t.TagCount(); ++order) {
    t.SetOrder(order);
    for (t.GoTop(); !t.Eof(); t.Skip()) {
      for (const quorvant::FieldDef& f : t.Fields()) t.Get(f.name);
      t.Deleted();
    }
    if (order > 0) {
      t.Seek("a", quorvant::SeekMode::kPrefix);
      t.Seek("");
    }
  }
  t.SetQuery(".NOT. DELETED()");
  t.QueryCount();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string base = quorvant::fuzz::ScratchDir() + "/t";
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  constexpr std::string_view kSeparator = "\n--file--\n";
  for (const char* ext : {".dbf", ".fpt", ".cdx"}) {
    std::filesystem::remove(base + ext);
    if (rest.data() == nullptr) continue;
    const size_t end = rest.find(kSeparator);
    quorvant::WriteFileAtomically(base + ext, rest.substr(0, end),
                                  quorvant::WriteDurability::kRegenerable);
    rest =
        end == std::string_view::npos ? std::string_view() : rest.substr(end + kSeparator.size());
  }
  try {
    quorvant::Table t;
    t.Open(base + ".dbf");
    ReadEverything(t);
    // What opened can also be written to and read back.
    t.AppendBlank();
    t.Commit();
    t.Close();
    t.Open(base + ".dbf");
    ReadEverything(t);
  } catch (const quorvant::ETableError&) {
  }
  return 0;
}
