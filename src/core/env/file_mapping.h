// FileMapping: the first bytes of a file mapped read-only into memory, for
// passes over a whole table that should read only the bytes they look at
// instead of copying every byte into a buffer first.
//
// A mapped file that another program shortens while it is mapped would
// normally kill the process with SIGBUS at the first touch past the new end;
// so would a disk that fails under a mapped page. Here a process-wide
// handler instead puts zero-filled pages over the rest of the mapping, so
// the read goes on, and marks the mapping shortened. Whoever reads a mapping
// therefore checks Shortened() after reading and before trusting anything it
// read. A SIGBUS outside every live mapping goes to the handler that was
// there before (by default the crash it always was).
//
// Ownership: the mapping owns its address range; it unmaps on destruction.
// Thread-safety: a mapping belongs to one reader; mappings may be made and
// dropped on any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace quorvant {

class FileMapping {
 public:
  // Maps the first `length` bytes of the open file fd; nullptr when that
  // cannot be done (no room, too many live mappings, a file that does not
  // map), in which case the caller reads as it would without a mapping.
  // Requires: length > 0 and no more than the file's size at the call.
  static std::unique_ptr<FileMapping> Map(int fd, uint64_t length);

  ~FileMapping();
  FileMapping(const FileMapping&) = delete;
  FileMapping& operator=(const FileMapping&) = delete;

  const char* data() const { return data_; }
  size_t size() const { return size_; }
  std::string_view bytes(size_t offset, size_t n) const { return {data_ + offset, n}; }

  // True when part of the file vanished (or failed) while mapped: what was
  // read from there were zeros, not the file.
  bool Shortened() const;

 private:
  FileMapping(const char* data, size_t size, int slot) : data_(data), size_(size), slot_(slot) {}

  const char* data_;
  size_t size_;
  int slot_;  // this mapping's place among the ranges the handler knows
};

}  // namespace quorvant
