// The one door through which the table engine reaches files. Everything the
// engine reads or writes goes through a FileSystem, so that tests can put a
// FileSystem in between that fails the Nth write or sync and check that
// nothing committed is lost.
//
// Every method that fails throws ETableError (code kIo) naming the file and
// the operating system's reason. Read() returning fewer bytes than asked
// means the file ended; it is not an error.
//
// Thread-safety: a RandomAccessFile belongs to one table handle and is used
// from one thread at a time. DefaultFileSystem() is stateless and may be
// shared.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace quorvant {

// What identifies a file's contents for the staleness test of the index:
// any write by any program moves the modification time; a replacing rename
// changes the inode.
struct FileStamp {
  uint64_t inode = 0;
  uint64_t size = 0;
  int64_t mtime_ns = 0;
  bool operator==(const FileStamp&) const = default;
};

class RandomAccessFile {
 public:
  virtual ~RandomAccessFile() = default;

  const std::string& path() const { return path_; }

  // Reads up to n bytes at offset; returns how many were read.
  virtual size_t Read(uint64_t offset, char* buffer, size_t n) = 0;
  virtual void Write(uint64_t offset, std::string_view data) = 0;
  virtual uint64_t Size() = 0;
  virtual void Truncate(uint64_t size) = 0;
  // Makes the written data durable.
  virtual void Sync() = 0;
  virtual FileStamp Stamp() = 0;

  // Byte-range locks that exclude other handles in this process as well as
  // other processes (open file description locks). TryLock() does not wait:
  // false when another handle holds a conflicting lock.
  virtual bool TryLock(uint64_t offset, uint64_t length, bool exclusive) = 0;
  virtual void Unlock(uint64_t offset, uint64_t length) = 0;

 protected:
  explicit RandomAccessFile(std::string path) : path_(std::move(path)) {}

 private:
  std::string path_;
};

enum class FileMode {
  kRead,       // an existing file, read only
  kReadWrite,  // an existing file
  kCreate,     // a new empty file, replacing any file of that name
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  virtual std::unique_ptr<RandomAccessFile> Open(const std::string& path, FileMode mode) = 0;
  virtual bool Exists(const std::string& path) = 0;
  virtual std::optional<FileStamp> Stat(const std::string& path) = 0;
  // Removing a missing file is not an error.
  virtual void Remove(const std::string& path) = 0;
  // Replaces `to` atomically; durable: the rename is on disk before the
  // call returns (the folder is synced).
  virtual void Rename(const std::string& from, const std::string& to, bool durable) = 0;
};

// The operating system's files.
FileSystem& DefaultFileSystem();

// How far a whole-file replacement goes to survive a crash of the machine.
// Every kind replaces the file atomically: a reader sees the old file or the
// new one, never a mixture.
enum class WriteDurability {
  // On disk before the call returns: the author's documents and settings.
  kDurable,
  // Flushed only when it replaces a file that has content, so that a crash
  // cannot leave an empty file where that one was; a new file may be lost
  // to a crash. For files made from another file that stays (an import).
  kKeepOld,
  // Never flushed: files made again at will from data kept elsewhere
  // (report pages, chart images).
  kRegenerable,
};

// Writes contents to a sibling temporary file and renames it over path, so
// that readers see either the old file or the new one, with the flushes
// that durability asks for.
void ReplaceFileContents(FileSystem& fs, const std::string& path, std::string_view contents,
                         WriteDurability durability = WriteDurability::kDurable);

}  // namespace quorvant
