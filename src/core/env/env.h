// Env: the one door through which the core reaches the outside world, its
// files and its clock. Every reader and writer of the core is handed an Env
// (a constructor argument or an options field that defaults to DefaultEnv()),
// so that a test can hand it one that fails the Nth write or sync, or one
// whose clock stands still, without touching anything process-wide.
//
// EnvWrapper forwards every call to a target Env; a test's env derives from
// it and overrides only what it changes.
//
// Every file method that fails throws ETableError (code kIo) naming the file
// and the operating system's reason. Read() returning fewer bytes than asked
// means the file ended; it is not an error.
//
// Thread-safety: a RandomAccessFile belongs to one handle and is used from one
// thread at a time. DefaultEnv() is safe to share between threads.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/env/calendar.h"
#include "core/env/file_mapping.h"

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

  // The first `length` bytes of the file mapped into memory (see
  // file_mapping.h), or nullptr where the file cannot be mapped; a caller
  // then reads through Read(). Files of test envs return nullptr, so that
  // every read still passes through their Read().
  // Requires: length no more than Size().
  virtual std::unique_ptr<FileMapping> Map(uint64_t /*length*/) { return nullptr; }

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

class Env {
 public:
  virtual ~Env() = default;

  virtual std::unique_ptr<RandomAccessFile> Open(const std::string& path, FileMode mode) = 0;
  virtual bool Exists(const std::string& path) = 0;
  virtual std::optional<FileStamp> Stat(const std::string& path) = 0;
  // Removing a missing file is not an error.
  virtual void Remove(const std::string& path) = 0;
  // Replaces `to` atomically; durable: the rename is on disk before the
  // call returns (the folder is synced).
  virtual void Rename(const std::string& from, const std::string& to, bool durable) = 0;

  // The current local time.
  virtual TDateTime Now() = 0;
};

// The operating system's files and clock.
Env& DefaultEnv();

// Forwards every call to the target, which must outlive the wrapper.
class EnvWrapper : public Env {
 public:
  explicit EnvWrapper(Env& target) : target_(target) {}

  Env& target() const { return target_; }

  std::unique_ptr<RandomAccessFile> Open(const std::string& path, FileMode mode) override {
    return target_.Open(path, mode);
  }
  bool Exists(const std::string& path) override { return target_.Exists(path); }
  std::optional<FileStamp> Stat(const std::string& path) override { return target_.Stat(path); }
  void Remove(const std::string& path) override { target_.Remove(path); }
  void Rename(const std::string& from, const std::string& to, bool durable) override {
    target_.Rename(from, to, durable);
  }
  TDateTime Now() override { return target_.Now(); }

 private:
  Env& target_;
};

}  // namespace quorvant
