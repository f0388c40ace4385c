// Table: the current record, its fields and its deletion mark, and posting
// a changed record to the file and the index tags.
#include <cassert>
#include <cstring>

#include "core/env/table_error.h"
#include "core/tableengine/memo_file.h"
#include "core/tableengine/record_file.h"
#include "core/tableengine/table.h"
#include "core/tableengine/table_state.h"

namespace quorvant {

void Table::Load(uint32_t recno) {
  record_.assign(records_->Read(recno));
  recno_ = recno;
  eof_ = bof_ = false;
}

void Table::SetEof() {
  recno_ = Count() + 1;
  eof_ = true;
  record_.clear();
}

void Table::GoTo(uint32_t recno) {
  RequireOpen();
  Post();
  if (recno < 1 || recno > Count()) {
    throw ETableError(ETableError::Code::kUsage,
                      "The table " + path_ + " has no record " + std::to_string(recno));
  }
  Load(recno);
}

// Called before the first change of the current record: takes the lock and
// remembers the record's keys, so that Post() can move its index entries.
void Table::BeginChange() {
  RequireRecord();
  if (changed_) return;
  BeginWrite();
  // BeginWrite may have taken in other handles' commits, which can have
  // changed this very record; the change applies to the record as it is now.
  if (!appending_) {
    record_.assign(records_->Read(recno_));
    RecordBytes current(Fields(), memo_.get());
    current.Set(record_, recno_);
    keys_before_ = KeysOf(current);
  }
  changed_ = true;
}

void Table::Post() {
  if (!changed_) return;
  RecordBytes current(Fields(), memo_.get());
  current.Set(record_, recno_);
  const auto keys_after = KeysOf(current);
  if (appending_) {
    records_->Append(record_);
    appending_ = false;
  } else {
    records_->Update(recno_, record_);
  }
  UpdateKeys(keys_before_, keys_after, recno_);
  changed_ = false;
  query_count_.reset();
}

void Table::AppendBlank() {
  RequireOpen();
  Post();
  BeginWrite();
  record_.assign(records_->header().record_length, ' ');
  recno_ = records_->count() + 1;
  eof_ = bof_ = false;
  appending_ = true;
  changed_ = true;
  keys_before_.assign(tags_.size(), std::nullopt);
}

void Table::Append(const std::vector<std::pair<std::string, std::string>>& values) {
  AppendBlank();
  for (const auto& [field, text] : values) Replace(field, text);
}

void Table::Replace(std::string_view field, std::string_view text) {
  ReplaceField(RequireField(field), text);
}

void Table::ReplaceField(int index, std::string_view text) {
  assert(index >= 0 && index < static_cast<int>(Fields().size()));
  BeginChange();
  const FieldDef& f = Fields()[static_cast<size_t>(index)];
  char* out = record_.data() + f.offset;
  switch (f.type) {
    case 'M': {
      const std::string block = EncodeMemoBlock(memo_->Write(text), f.width);
      std::memcpy(out, block.data(), block.size());
      break;
    }
    case 'N':
    case 'F':
      if (const auto number = DecodeNumber(text)) {
        if (!EncodeNumberInto(*number, f.width, f.decimals, out)) {
          throw ETableError(ETableError::Code::kUsage, "The value " + std::string(text) +
                                                           " does not fit the field " + f.name +
                                                           " of " + path_);
        }
      } else {
        std::memset(out, ' ', static_cast<size_t>(f.width));
      }
      break;
    default:
      EncodeCharacterInto(text, f.width, out);
  }
}

void Table::Replace(std::string_view field, int64_t value) {
  Replace(field, std::to_string(value));
}

std::string Table::Get(std::string_view field) {
  const int index = RequireField(field);
  RequireRecord();
  RecordBytes current(Fields(), memo_.get());
  current.Set(record_, recno_);
  if (Fields()[static_cast<size_t>(index)].type == 'M') return current.MemoText(index);
  return std::string(current.RawField(index));
}

std::optional<double> Table::GetNumber(std::string_view field) { return DecodeNumber(Get(field)); }

bool Table::Deleted() {
  RequireRecord();
  return record_[0] == '*';
}

void Table::Delete() {
  BeginChange();
  record_[0] = '*';
}

void Table::Recall() {
  BeginChange();
  record_[0] = ' ';
}

}  // namespace quorvant
