#include "support/fault_file_system.h"

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
    fs_.Count();
    inner_->Write(offset, data);
  }
  uint64_t Size() override { return inner_->Size(); }
  void Truncate(uint64_t size) override {
    fs_.Count();
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
  if (fail_from_ > 0 && operations_ >= fail_from_) {
    throw ETableError(ETableError::Code::kIo, "injected failure " + std::to_string(operations_));
  }
}

std::unique_ptr<RandomAccessFile> FaultFileSystem::Open(const std::string& path, FileMode mode) {
  if (mode == FileMode::kCreate) Count();
  return std::make_unique<FaultFile>(DefaultFileSystem().Open(path, mode), *this);
}

void FaultFileSystem::Remove(const std::string& path) { DefaultFileSystem().Remove(path); }

void FaultFileSystem::Rename(const std::string& from, const std::string& to) {
  Count();
  DefaultFileSystem().Rename(from, to);
}

}  // namespace quorvant::testing
