// The parts of a Table handle that its implementation files share. Internal
// to the table engine.
#pragma once

#include "core/tableengine/expression.h"
#include "core/tableengine/index_file.h"
#include "core/tableengine/key_index.h"
#include "core/tableengine/table.h"

namespace quorvant {

struct Table::TagState {
  TagDefinition def;
  Expression key;
  Expression condition;  // empty: every record
  KeyIndex index;
};

// A RecordSource over a record's bytes, for scans that must not disturb the
// current record.
class RecordBytes : public RecordSource {
 public:
  RecordBytes(const std::vector<FieldDef>& fields, MemoFile* memo) : fields_(fields), memo_(memo) {}

  void Set(std::string_view bytes, uint32_t recno) {
    bytes_ = bytes;
    recno_ = recno;
  }
  std::string_view RawField(int field) override;
  std::string MemoText(int field) override;
  bool Deleted() override { return !bytes_.empty() && bytes_[0] == '*'; }
  uint32_t RecNo() override { return recno_; }

 private:
  const std::vector<FieldDef>& fields_;
  MemoFile* memo_;
  std::string_view bytes_;
  uint32_t recno_ = 0;
};

}  // namespace quorvant
