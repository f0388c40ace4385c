#include "core/tableengine/memo_file.h"

#include <algorithm>

#include "core/env/table_error.h"

namespace quorvant {
namespace {

constexpr uint32_t kHeaderLength = 512;
constexpr uint32_t kTextType = 1;
constexpr size_t kAppendBuffer = 1 << 20;  // bytes of new blocks held before a write
constexpr size_t kReadWindow = 64 << 10;   // bytes read at once for memos read in a row

uint32_t GetBig32(const char* b) {
  return static_cast<uint32_t>(static_cast<uint8_t>(b[0])) << 24 |
         static_cast<uint32_t>(static_cast<uint8_t>(b[1])) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(b[2])) << 8 | static_cast<uint8_t>(b[3]);
}

void PutBig32(std::string& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>(v >> (24 - 8 * i) & 0xFF);
}

std::string Header(uint32_t next_free, uint32_t block_size) {
  std::string h(kHeaderLength, '\0');
  PutBig32(h, 0, next_free);
  h[6] = static_cast<char>(block_size >> 8 & 0xFF);
  h[7] = static_cast<char>(block_size & 0xFF);
  return h;
}

[[noreturn]] void Damaged(const std::string& path, const std::string& why) {
  throw ETableError(ETableError::Code::kCorrupt, "The memo file " + path + " is damaged: " + why);
}

}  // namespace

void MemoFile::Create(Env& env, const std::string& path) {
  std::unique_ptr<RandomAccessFile> file = env.Open(path, FileMode::kCreate);
  file->Write(0, Header(kHeaderLength / kBlockSize, kBlockSize));
  file->Sync();
}

MemoFile::MemoFile(Env& env, const std::string& path, bool writable)
    : file_(env.Open(path, writable ? FileMode::kReadWrite : FileMode::kRead)) {
  ReadHeader();
}

void MemoFile::ReadHeader() {
  char b[8];
  if (file_->Read(0, b, sizeof b) < sizeof b) Damaged(path(), "the header is cut short");
  next_free_ = GetBig32(b);
  block_size_ = static_cast<uint32_t>(static_cast<uint8_t>(b[6])) << 8 | static_cast<uint8_t>(b[7]);
  if (block_size_ == 0) Damaged(path(), "block size 0");
  if (uint64_t{next_free_} * block_size_ < kHeaderLength)
    Damaged(path(), "free block inside the header");
}

void MemoFile::Refresh() {
  if (dirty_) return;
  const uint32_t before = next_free_;
  ReadHeader();
  // Fewer blocks in use than before: the file was made again by someone
  // else, and what the window holds may no longer be in it.
  if (next_free_ < before) window_.clear();
}

const char* MemoFile::Window(uint64_t offset, size_t n) {
  if (offset >= window_offset_ && offset + n <= window_offset_ + window_.size()) {
    return window_.data() + (offset - window_offset_);
  }
  const uint64_t end = uint64_t{next_free_} * block_size_;
  if (n > kReadWindow || offset + n > end) return nullptr;
  const size_t want = static_cast<size_t>(std::min<uint64_t>(kReadWindow, end - offset));
  window_.resize(want);
  window_.resize(file_->Read(offset, window_.data(), want));
  window_offset_ = offset;
  return window_.size() < n ? nullptr : window_.data();
}

std::string MemoFile::Read(uint32_t block) {
  if (block == 0) return {};
  FlushAppends();
  const uint64_t offset = uint64_t{block} * block_size_;
  // A scan reads the memos of record after record, which lie one after
  // another in the file: through the window, with no read of the file (and
  // no look at its size) per memo.
  if (const char* head = offset >= kHeaderLength ? Window(offset, 8) : nullptr) {
    const uint32_t length = GetBig32(head + 4);
    if (const char* text = Window(offset + 8, length)) return std::string(text, length);
  }
  char b[8];
  if (offset < kHeaderLength || file_->Read(offset, b, sizeof b) < sizeof b) {
    Damaged(path(), "memo block " + std::to_string(block) + " lies outside the file");
  }
  const uint32_t length = GetBig32(b + 4);
  if (offset + 8 + length > file_->Size()) {
    Damaged(path(), "memo block " + std::to_string(block) + " runs past the end of the file");
  }
  std::string text(length, '\0');
  file_->Read(offset + 8, text.data(), length);
  return text;
}

uint32_t MemoFile::Write(std::string_view text) {
  if (text.empty()) return 0;
  if (text.size() > 0x7FFFFFF0u) {
    throw ETableError(ETableError::Code::kUsage, "A memo text is too long for " + path());
  }
  const uint64_t blocks = (8 + text.size() + block_size_ - 1) / block_size_;
  if (next_free_ + blocks > 0xFFFFFFFFull) Damaged(path(), "the memo file is full");
  if (appends_.empty()) appends_first_ = next_free_;
  const size_t at = appends_.size();
  appends_.resize(at + 8, '\0');
  PutBig32(appends_, at, kTextType);
  PutBig32(appends_, at + 4, static_cast<uint32_t>(text.size()));
  appends_ += text;
  appends_.resize(at + blocks * block_size_, '\0');
  const uint32_t block = next_free_;
  next_free_ += static_cast<uint32_t>(blocks);
  dirty_ = true;
  if (appends_.size() >= kAppendBuffer) FlushAppends();
  return block;
}

void MemoFile::FlushAppends() {
  if (appends_.empty()) return;
  file_->Write(uint64_t{appends_first_} * block_size_, appends_);
  appends_.clear();
  if (appends_.capacity() > 2 * kAppendBuffer) appends_.shrink_to_fit();
}

void MemoFile::Commit() {
  if (!dirty_) return;
  FlushAppends();
  file_->Sync();
  std::string prefix(4, '\0');
  PutBig32(prefix, 0, next_free_);
  file_->Write(0, prefix);
  file_->Sync();
  dirty_ = false;
}

}  // namespace quorvant
