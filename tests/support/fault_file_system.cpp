#include "support/fault_file_system.h"

#include <algorithm>

#include "core/tableengine/table_error.h"

namespace quorvant::testing {
namespace {

class FaultFile : public RandomAccessFile {
 public:
  FaultFile(std::unique_ptr<RandomAccessFile> inner, FaultFileSystem& fs)
      : RandomAccessFile(inner->path()), inner_(std::move(inner)), fs_(fs) {}

  size_t Read(uint64_t offset, char* buffer, size_t n) override {
    return inner_->Read(offset, buffer, n);
  }
  void Write(uint64_t offset, std::string_view data) override {
    const size_t allowed = fs_.WriteAllowance(offset, data.size(), inner_->Size());
    if (allowed > 0) inner_->Write(offset, data.substr(0, allowed));
    if (allowed < data.size()) fs_.Fail();
  }
  uint64_t Size() override { return inner_->Size(); }
  void Truncate(uint64_t size) override {
    const uint64_t now = inner_->Size();
    if (size > now) {
      if (fs_.WriteAllowance(now, size - now, now) < size - now) fs_.Fail();
    } else {
      fs_.Count();
    }
    inner_->Truncate(size);
  }
  void Sync() override {
    fs_.Count();
    inner_->Sync();
  }
  FileStamp Stamp() override { return inner_->Stamp(); }
  bool TryLock(uint64_t offset, uint64_t length, bool exclusive) override {
    return inner_->TryLock(offset, length, exclusive);
  }
  void Unlock(uint64_t offset, uint64_t length) override { inner_->Unlock(offset, length); }

 private:
  std::unique_ptr<RandomAccessFile> inner_;
  FaultFileSystem& fs_;
};

}  // namespace

void FaultFileSystem::Count() {
  ++operations_;
  if (Failing() && fault_ != Fault::kDiskFull) Fail();
}

size_t FaultFileSystem::WriteAllowance(uint64_t offset, size_t size, uint64_t file_size) {
  ++operations_;
  if (!Failing()) return size;
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

void FaultFileSystem::Fail() {
  throw ETableError(ETableError::Code::kIo, "injected failure " + std::to_string(operations_));
}

std::unique_ptr<RandomAccessFile> FaultFileSystem::Open(const std::string& path, FileMode mode) {
  if (mode == FileMode::kCreate) Count();
  return std::make_unique<FaultFile>(DefaultFileSystem().Open(path, mode), *this);
}

void FaultFileSystem::Remove(const std::string& path) { DefaultFileSystem().Remove(path); }

void FaultFileSystem::Rename(const std::string& from, const std::string& to, bool durable) {
  Count();
  DefaultFileSystem().Rename(from, to, durable);
}

}  // namespace quorvant::testing
