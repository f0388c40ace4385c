#include "support/fault_env.h"

#include <algorithm>

#include "core/env/table_error.h"

namespace quorvant::testing {
namespace {

class FaultFile : public RandomAccessFile {
 public:
  FaultFile(std::unique_ptr<RandomAccessFile> inner, FaultEnv& env)
      : RandomAccessFile(inner->path()), inner_(std::move(inner)), env_(env) {}

  size_t Read(uint64_t offset, char* buffer, size_t n) override {
    return inner_->Read(offset, buffer, n);
  }
  void Write(uint64_t offset, std::string_view data) override {
    const size_t allowed = env_.WriteAllowance(offset, data.size(), inner_->Size());
    if (allowed > 0) inner_->Write(offset, data.substr(0, allowed));
    if (allowed < data.size()) env_.Fail();
  }
  uint64_t Size() override { return inner_->Size(); }
  void Truncate(uint64_t size) override {
    const uint64_t now = inner_->Size();
    if (size > now) {
      if (env_.WriteAllowance(now, size - now, now) < size - now) env_.Fail();
    } else {
      env_.Count();
    }
    inner_->Truncate(size);
  }
  void Sync() override {
    env_.Count();
    inner_->Sync();
  }
  FileStamp Stamp() override { return inner_->Stamp(); }
  bool TryLock(uint64_t offset, uint64_t length, bool exclusive) override {
    return inner_->TryLock(offset, length, exclusive);
  }
  void Unlock(uint64_t offset, uint64_t length) override { inner_->Unlock(offset, length); }

 private:
  std::unique_ptr<RandomAccessFile> inner_;
  FaultEnv& env_;
};

}  // namespace

void FaultEnv::Count() {
  ++operations_;
  if (Reached() && fault_ != Fault::kDiskFull) Fail();
}

size_t FaultEnv::WriteAllowance(uint64_t offset, size_t size, uint64_t file_size) {
  ++operations_;
  if (!Reached()) return size;
  switch (fault_) {
    case Fault::kFail:
      return 0;
    case Fault::kShortWrite:
      if (short_write_done_) return 0;
      short_write_done_ = true;
      return size / 2;
    case Fault::kDiskFull:
      return offset >= file_size
                 ? 0
                 : static_cast<size_t>(std::min<uint64_t>(size, file_size - offset));
  }
  return 0;
}

void FaultEnv::Fail() {
  throw ETableError(ETableError::Code::kIo, "injected failure " + std::to_string(operations_));
}

std::unique_ptr<RandomAccessFile> FaultEnv::Open(const std::string& path, FileMode mode) {
  if (mode == FileMode::kCreate) Count();
  return std::make_unique<FaultFile>(target().Open(path, mode), *this);
}

void FaultEnv::Rename(const std::string& from, const std::string& to, bool durable) {
  Count();
  target().Rename(from, to, durable);
}

}  // namespace quorvant::testing
