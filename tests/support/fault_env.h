// An Env for tests that passes everything to its target but fails on
// request, from the Nth write (or sync) on, in one of three ways:
//   kFail        every operation throws, as a disk that has gone away;
//   kShortWrite  the failing write stores the first half of its data before
//                it throws, as a write cut short; every later one throws;
//   kDiskFull    a write stores what fits inside the file's present size and
//                throws when it would grow the file, and so does a Truncate
//                that grows it; writes in place, syncs and renames go on
//                working, as on a disk that has filled up.
// Reads, stats, removals and the clock are the target's, unchanged.
#pragma once

#include "core/env/env.h"

namespace quorvant::testing {

class FaultEnv : public EnvWrapper {
 public:
  enum class Fault { kFail, kShortWrite, kDiskFull };

  explicit FaultEnv(Env& target = DefaultEnv()) : EnvWrapper(target) {}

  // 0 never fails; n fails the nth write or sync counted from now on.
  void FailFrom(int n, Fault fault = Fault::kFail) {
    fail_from_ = n;
    fault_ = fault;
    short_write_done_ = false;
    operations_ = 0;
  }
  int operations() const { return operations_; }
  // Whether the run since FailFrom(n) came to its nth fault point.
  bool Reached() const { return fail_from_ > 0 && operations_ >= fail_from_; }

  // Called by the files before each sync, truncation to no larger size,
  // creation and rename: counts it and throws when it is to fail.
  void Count();
  // Called by the files before each write of size bytes at offset into a
  // file of file_size bytes (or a truncation to offset + size): counts it
  // and gives how many of the bytes to store before Fail().
  size_t WriteAllowance(uint64_t offset, size_t size, uint64_t file_size);
  [[noreturn]] void Fail();

  std::unique_ptr<RandomAccessFile> Open(const std::string& path, FileMode mode) override;
  void Rename(const std::string& from, const std::string& to, bool durable) override;

 private:
  int fail_from_ = 0;
  Fault fault_ = Fault::kFail;
  int operations_ = 0;
  bool short_write_done_ = false;
};

}  // namespace quorvant::testing
