// MemoFile: the .fpt file that holds the text of memo fields, in FoxPro's
// layout: a 512-byte header whose first four bytes (big-endian) give the
// next free block, blocks of 64 bytes, and per memo an 8-byte block header
// (type 1 = text, then the length, both big-endian) followed by the text.
// See format.md.
//
// New memo texts go to the end of the file, collected in memory and written
// in large pieces (an import writes thousands of small memos); the header's
// free-block number reaches the file only at Commit(), after the data, so a
// crash before it leaves the old header and merely unused blocks.
//
// Memos are read through a window of the file, so that reading the memos of
// many records costs one read of the file per window, not three per memo.
//
// Ownership: owns its file. Thread-safety: none; one table handle uses it.
// Every method throws ETableError: kIo when the file cannot be read or
// written, kCorrupt (naming the file) when a block lies outside the file or
// claims more text than the file holds.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/env/env.h"

namespace quorvant {

class MemoFile {
 public:
  static constexpr uint32_t kBlockSize = 64;

  // Writes an empty memo file.
  static void Create(Env& env, const std::string& path);

  // Opens an existing memo file; throws when its header is damaged.
  MemoFile(Env& env, const std::string& path, bool writable);

  const std::string& path() const { return file_->path(); }

  // The text stored at block (0 means no memo: "").
  std::string Read(uint32_t block);

  // Stores text in new blocks and returns the first (0 for an empty text).
  // Requires: opened writable.
  uint32_t Write(std::string_view text);

  // Writes the header's free-block number after the data and syncs.
  void Commit();

  // Re-reads the free-block number after another handle committed.
  void Refresh();

 private:
  void ReadHeader();
  void FlushAppends();
  // Bytes [offset, offset + n) of the file through the read window, which
  // is filled from offset on when they are not in it; nullptr when they lie
  // beyond the blocks in use or are more than a window holds. Blocks in use
  // are never written again, so what the window holds stays true.
  const char* Window(uint64_t offset, size_t n);

  std::unique_ptr<RandomAccessFile> file_;
  uint32_t block_size_ = kBlockSize;
  uint32_t next_free_ = 0;
  bool dirty_ = false;
  std::string appends_;  // blocks from appends_first_ on, not yet written
  uint32_t appends_first_ = 0;
  std::string window_;  // the file's bytes from window_offset_ on
  uint64_t window_offset_ = 0;
};

}  // namespace quorvant
