// Fuzz target: any text either compiles as an expression over a fixed field
// list and then evaluates without failing, or raises the expression error.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/env/table_error.h"
#include "core/tableengine/expression.h"

namespace {

const std::vector<quorvant::FieldDef> kFields = {
    {"NAME", 'C', 10}, {"AGE", 'N', 5}, {"NOTE", 'M', 10}, {"OK", 'L', 1}, {"BORN", 'D', 8}};

class Record : public quorvant::RecordSource {
 public:
  std::string_view RawField(int field) override {
    static const char* kRaw[] = {"Ann é    ", "  -12", "         8", "T", "20011231"};
    return kRaw[field];
  }
  std::string MemoText(int) override { return "memo\r\ntext"; }
  bool Deleted() override { return false; }
  uint32_t RecNo() override { return 3; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  quorvant::Expression e;
  try {
    e = quorvant::Expression::Compile(text, kFields);
  } catch (const quorvant::ETableError& error) {
    if (error.code() != quorvant::ETableError::Code::kExpression) __builtin_trap();
    return 0;
  }
  // A compiled expression never fails while it is evaluated.
  Record record;
  e.Evaluate(record);
  e.Key(record);
  e.KeyForText(text);
  return 0;
}
