// Table: creating, opening and closing, the write lock, refreshing from
// other handles' commits, and Commit.
#include "core/tableengine/table.h"

#include <cassert>
#include <chrono>
#include <thread>

#include "core/env/table_error.h"
#include "core/tableengine/dbf_header.h"
#include "core/tableengine/memo_file.h"
#include "core/tableengine/record_file.h"
#include "core/tableengine/table_state.h"

namespace quorvant {
namespace {

// The byte that writers lock: far past any record, so that locking it never
// gets in the way of other programs reading the file.
constexpr uint64_t kLockOffset = 0x7FFFFFFE;

}  // namespace

std::string_view RecordBytes::RawField(int field) {
  const FieldDef& f = fields_[static_cast<size_t>(field)];
  return bytes_.substr(static_cast<size_t>(f.offset), static_cast<size_t>(f.width));
}

std::string RecordBytes::MemoText(int field) {
  const uint32_t block = DecodeMemoBlock(RawField(field));
  return memo_ == nullptr ? std::string() : memo_->Read(block);
}

std::string Table::SiblingPath(const std::string& path, const char* extension) {
  const size_t slash = path.find_last_of('/');
  const size_t dot = path.find_last_of('.');
  const bool has_ext = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  return (has_ext ? path.substr(0, dot) : path) + extension;
}

void Table::Create(const std::string& path, const std::vector<FieldDef>& fields, Env& env) {
  ValidateFields(fields, path);
  const DbfHeader header = DbfHeader::ForFields(fields);
  RecordFile::Create(env, path, header);
  MemoFile::Create(env, SiblingPath(path, ".fpt"));
  env.Remove(SiblingPath(path, ".cdx"));
}

Table::Table() = default;

Table::Table(Options options) : options_(options) {}

Table::~Table() {
  try {
    Close();
  } catch (const ETableError&) {
    // Close() is the way to learn of a failed commit; a destructor cannot.
  }
}

void Table::Open(const std::string& path) {
  Close();
  Env& env = *options_.env;
  std::unique_ptr<RecordFile> records;
  try {
    records = std::make_unique<RecordFile>(env, path, true);
    read_only_ = false;
  } catch (const ETableError& e) {
    if (e.code() != ETableError::Code::kIo || !env.Exists(path)) throw;
    records = std::make_unique<RecordFile>(env, path, false);
    read_only_ = true;
  }
  std::unique_ptr<MemoFile> memo;
  if (records->header().HasMemo()) {
    const std::string memo_path = SiblingPath(path, ".fpt");
    if (!env.Exists(memo_path)) {
      throw ETableError(ETableError::Code::kCorrupt,
                        "The memo file " + memo_path + " of the table " + path + " is missing");
    }
    memo = std::make_unique<MemoFile>(env, memo_path, !read_only_);
  }
  path_ = path;
  records_ = std::move(records);
  memo_ = std::move(memo);
  try {
    dbf_stamp_ = records_->file().Stamp();
    LoadIndexFile();
  } catch (...) {
    records_.reset();
    memo_.reset();
    tags_.clear();
    throw;
  }
  order_ = 0;
  GoTop();
}

void Table::Close() {
  if (!IsOpen()) return;
  Commit();
  records_.reset();
  memo_.reset();
  tags_.clear();
  index_stamp_.reset();
  query_ = Expression();
  filter_ = Expression();
  query_count_.reset();
  path_.clear();
  recno_ = 0;
  eof_ = bof_ = true;
  order_ = 0;
  record_.clear();
}

void Table::RequireOpen() const {
  if (!IsOpen()) throw ETableError(ETableError::Code::kUsage, "No table is open");
}

void Table::RequireRecord() const {
  RequireOpen();
  if (recno_ == 0 || eof_) {
    throw ETableError(ETableError::Code::kUsage, "The table " + path_ + " has no current record");
  }
}

const std::vector<FieldDef>& Table::Fields() const {
  RequireOpen();
  return records_->header().fields;
}

int Table::FieldIndex(std::string_view name) const {
  const std::string key = FieldKey(name);
  const std::vector<FieldDef>& fields = Fields();
  for (size_t i = 0; i < fields.size(); ++i) {
    if (fields[i].name == key) return static_cast<int>(i);
  }
  return -1;
}

int Table::RequireField(std::string_view name) const {
  const int index = FieldIndex(name);
  if (index < 0) {
    throw ETableError(ETableError::Code::kUsage,
                      "The table " + path_ + " has no field " + std::string(name));
  }
  return index;
}

void Table::BeginWrite() {
  RequireOpen();
  if (writing_) return;
  if (read_only_) {
    throw ETableError(ETableError::Code::kUsage, "The table " + path_ + " is read-only");
  }
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(options_.lock_timeout_ms);
  while (!LockNow()) {
    if (std::chrono::steady_clock::now() >= deadline) {
      throw ETableError(ETableError::Code::kLocked,
                        "The table " + path_ + " is being changed by another user; try again");
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  try {
    Refresh();
  } catch (...) {
    ReleaseLock();
    throw;
  }
}

bool Table::LockNow() {
  writing_ = records_->file().TryLock(kLockOffset, 1, true);
  return writing_;
}

void Table::ReleaseLock() {
  if (!writing_) return;
  records_->file().Unlock(kLockOffset, 1);
  writing_ = false;
}

// Takes in what other handles committed since this one last looked. Cheap
// when nothing changed: one stat of each file.
void Table::Refresh() {
  assert(!changed_ && !appending_ && !records_->dirty());
  const FileStamp now = records_->file().Stamp();
  const auto index_now = options_.env->Stat(SiblingPath(path_, ".cdx"));
  if (now == dbf_stamp_ && index_now == index_stamp_) return;
  const uint32_t old_count = records_->count();
  records_->Refresh();
  if (memo_) memo_->Refresh();
  dbf_stamp_ = now;
  if (index_now != index_stamp_ || records_->count() != old_count) {
    LoadIndexFile();
  }
  query_count_.reset();
  // The current record may have been changed; a handle at the end stays there.
  if (!eof_ && recno_ >= 1 && recno_ <= records_->count()) Load(recno_);
}

uint32_t Table::Count() const { return records_->count() + (appending_ ? 1 : 0); }

uint32_t Table::RecCount() {
  RequireOpen();
  if (!writing_) Refresh();
  return Count();
}

void Table::Commit() {
  RequireOpen();
  if (!writing_) return;
  Post();
  if (memo_) memo_->Commit();
  records_->Commit();
  dbf_stamp_ = records_->file().Stamp();
  if (!tags_.empty()) WriteIndexFile();
  ReleaseLock();
}

}  // namespace quorvant
