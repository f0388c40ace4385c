// Table: copying the table's records and memo texts to new files.
#include <memory>
#include <string_view>

#include "core/env/table_error.h"
#include "core/tableengine/record_file.h"
#include "core/tableengine/table.h"

namespace quorvant {
namespace {

// Copies the first `length` bytes of source, then `trailer`, to a temporary
// sibling of target, syncs it and renames it over target.
void CopyPrefix(Env& env, RandomAccessFile& source, uint64_t length, const std::string& target,
                std::string_view trailer = {}) {
  const std::string temp = target + ".copy";
  try {
    auto out = env.Open(temp, FileMode::kCreate);
    std::string buffer(1 << 20, '\0');
    for (uint64_t at = 0; at < length;) {
      const size_t want = static_cast<size_t>(std::min<uint64_t>(buffer.size(), length - at));
      const size_t got = source.Read(at, buffer.data(), want);
      if (got < want) {
        throw ETableError(ETableError::Code::kCorrupt,
                          "The file " + source.path() + " ended while it was being copied");
      }
      out->Write(at, std::string_view(buffer.data(), got));
      at += got;
    }
    if (!trailer.empty()) out->Write(length, trailer);
    out->Sync();
    out.reset();
    env.Rename(temp, target, true);
  } catch (...) {
    env.Remove(temp);
    throw;
  }
}

}  // namespace

void Table::CopyTo(const std::string& path) {
  RequireOpen();
  Env& env = *options_.env;
  const auto own = env.Stat(path_);
  const auto other = env.Stat(path);
  if (path == path_ || (own && other && own->inode == other->inode)) {
    throw ETableError(ETableError::Code::kUsage,
                      "The table " + path_ + " cannot be copied onto itself");
  }
  Commit();
  // The lock keeps other handles from committing while the files are read,
  // so the copied header counts exactly the copied records.
  if (!read_only_) BeginWrite();
  try {
    const DbfHeader& header = records_->header();
    // The source's end mark is not copied: other writers may leave it out or
    // leave other bytes in its place.
    CopyPrefix(env, records_->file(), header.RecordOffset(records_->count() + 1), path,
               std::string_view(&kEndOfFile, 1));
    const std::string memo_path = SiblingPath(path, ".fpt");
    if (memo_) {
      auto source = env.Open(SiblingPath(path_, ".fpt"), FileMode::kRead);
      CopyPrefix(env, *source, source->Size(), memo_path);
    } else {
      // Other programs refuse a table without memo fields that has a memo
      // file beside it, such as one left by an earlier copy.
      env.Remove(memo_path);
    }
    env.Remove(SiblingPath(path, ".cdx"));
  } catch (...) {
    ReleaseLock();
    throw;
  }
  ReleaseLock();
}

}  // namespace quorvant
