// A FileSystem for tests that passes everything to the real one but fails
// on request: the Nth write (or sync) and every one after it throws, as a
// disk that has filled up or gone away would.
#pragma once

#include "core/tableengine/file_system.h"

namespace quorvant::testing {

class FaultFileSystem : public FileSystem {
 public:
  // 0 never fails; n fails the nth write or sync counted from now on.
  void FailFrom(int n) {
    fail_from_ = n;
    operations_ = 0;
  }
  int operations() const { return operations_; }

  // Called by the files before each write or sync.
  void Count();

  std::unique_ptr<RandomAccessFile> Open(const std::string& path, FileMode mode) override;
  bool Exists(const std::string& path) override { return DefaultFileSystem().Exists(path); }
  std::optional<FileStamp> Stat(const std::string& path) override {
    return DefaultFileSystem().Stat(path);
  }
  void Remove(const std::string& path) override;
  void Rename(const std::string& from, const std::string& to) override;

 private:
  int fail_from_ = 0;
  int operations_ = 0;
};

}  // namespace quorvant::testing
