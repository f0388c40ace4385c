// Table: index tags, their keys, and the .cdx file that keeps them.
#include "core/env/replace_file.h"
#include "core/env/table_error.h"
#include "core/tableengine/memo_file.h"
#include "core/tableengine/record_file.h"
#include "core/tableengine/table.h"
#include "core/tableengine/table_state.h"

namespace quorvant {

std::unique_ptr<Table::TagState> Table::MakeTag(const TagDefinition& def) const {
  auto tag = std::make_unique<TagState>();
  tag->def = def;
  tag->key = Expression::Compile(def.key, Fields());
  if (!def.condition.empty())
    tag->condition = Expression::CompileCondition(def.condition, Fields());
  return tag;
}

// The key of the record in each tag; nullopt where the tag's condition
// leaves the record out.
std::vector<std::optional<std::string>> Table::KeysOf(RecordSource& record) {
  std::vector<std::optional<std::string>> keys;
  keys.reserve(tags_.size());
  for (auto& tag : tags_) {
    if (!tag->condition.empty() && !tag->condition.Test(record)) {
      keys.emplace_back();
    } else {
      keys.emplace_back(tag->key.Key(record));
    }
  }
  return keys;
}

void Table::UpdateKeys(const std::vector<std::optional<std::string>>& before,
                       const std::vector<std::optional<std::string>>& after, uint32_t recno) {
  for (size_t i = 0; i < tags_.size(); ++i) {
    if (before[i] == after[i]) continue;
    KeyIndex& index = tags_[i]->index;
    if (before[i]) index.Erase(*before[i], recno);
    if (after[i]) index.Insert(*after[i], recno);
  }
}

TableSignature Table::Signature() { return {records_->count(), dbf_stamp_}; }

// Reads the tag list from the .cdx. Its keys are used when its signature
// matches the table; otherwise every tag is rebuilt from the records and,
// when the lock can be had at once, written back.
void Table::LoadIndexFile() {
  const std::string index_path = SiblingPath(path_, ".cdx");
  tags_.clear();
  index_stamp_ = options_.env->Stat(index_path);
  if (!index_stamp_) {
    order_ = 0;
    return;
  }
  std::string bytes;
  {
    auto file = options_.env->Open(index_path, FileMode::kRead);
    bytes.resize(file->Size());
    bytes.resize(file->Read(0, bytes.data(), bytes.size()));
  }
  IndexFileContents contents = ParseIndexFile(bytes, index_path, true);
  for (const TagDefinition& def : contents.tags) {
    try {
      tags_.push_back(MakeTag(def));
    } catch (const ETableError& e) {
      tags_.clear();
      throw ETableError(ETableError::Code::kCorrupt,
                        "The index file " + index_path + " does not fit the table: " + e.what());
    }
  }
  bool current = contents.signature == Signature();
  for (size_t i = 0; current && i < tags_.size(); ++i) {
    for (const KeyIndex::Entry& e : contents.entries[i]) {
      if (e.recno < 1 || e.recno > records_->count()) current = false;
    }
    current = current && tags_[i]->index.Load(std::move(contents.entries[i]));
  }
  if (current) return;
  RebuildTags();
  if (order_ > TagCount()) order_ = 0;
  if (!read_only_ && !writing_ && LockNow()) {
    try {
      WriteIndexFile();
    } catch (const ETableError&) {
      // Keeping the rebuilt tags in memory is enough; the next commit retries.
    }
    ReleaseLock();
  }
}

void Table::RebuildTags() {
  for (auto& tag : tags_) tag->index.Clear();
  RecordBytes record(Fields(), memo_.get());
  const uint32_t count = records_->count();
  for (uint32_t r = 1; r <= count; ++r) {
    record.Set(records_->Read(r), r);
    for (auto& tag : tags_) {
      if (!tag->condition.empty() && !tag->condition.Test(record)) continue;
      tag->index.Insert(tag->key.Key(record), r);
    }
  }
}

void Table::WriteIndexFile() {
  const std::string index_path = SiblingPath(path_, ".cdx");
  std::vector<TagDefinition> defs;
  std::vector<KeyIndex*> indexes;
  for (auto& tag : tags_) {
    defs.push_back(tag->def);
    indexes.push_back(&tag->index);
  }
  ReplaceFileContents(*options_.env, index_path, SerializeIndexFile(Signature(), defs, indexes));
  index_stamp_ = options_.env->Stat(index_path);
}

void Table::AddTag(std::string_view name, std::string_view key, std::string_view condition) {
  RequireOpen();
  if (!ValidName(name)) {
    throw ETableError(ETableError::Code::kDefinition,
                      "The tag name \"" + std::string(name) +
                          "\" is not 1 to 10 letters, digits or \"_\" starting with a letter");
  }
  TagDefinition def{FieldKey(name), std::string(key), std::string(condition)};
  std::unique_ptr<TagState> tag = MakeTag(def);
  Post();
  BeginWrite();
  const int existing = TagOrder(def.name);
  if (existing > 0) {
    tags_[static_cast<size_t>(existing - 1)] = std::move(tag);
  } else {
    tags_.push_back(std::move(tag));
  }
  RebuildTags();
  Commit();
}

int Table::TagOrder(std::string_view name) const {
  const std::string key = FieldKey(name);
  for (size_t i = 0; i < tags_.size(); ++i) {
    if (tags_[i]->def.name == key) return static_cast<int>(i + 1);
  }
  return 0;
}

const TagDefinition& Table::Tag(int order) const {
  return tags_.at(static_cast<size_t>(order - 1))->def;
}

void Table::SetOrder(int order) {
  RequireOpen();
  if (order < 0 || order > TagCount()) {
    throw ETableError(ETableError::Code::kUsage,
                      "The table " + path_ + " has no order " + std::to_string(order));
  }
  Post();
  order_ = order;
}

}  // namespace quorvant
