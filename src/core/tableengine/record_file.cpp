#include "core/tableengine/record_file.h"

#include <algorithm>
#include <cassert>

#include "core/env/table_error.h"

namespace quorvant {
namespace {

constexpr size_t kWindowBytes = 256 * 1024;
// A read away from the window (an index order, a seek) fetches about one
// page: reading a whole window for each record of a scan in key order would
// copy the file many times over.
constexpr size_t kRandomReadBytes = 4096;
constexpr size_t kAppendBufferBytes = 4 * 1024 * 1024;
// A pass reading mapped records asks the processor for each record this
// many records ahead: a query and a counter that jump between fields far
// apart in a wide record would otherwise wait for memory at each of them.
// Enough records to cover that wait while the ones between are tested and
// visited.
constexpr uint32_t kPrefetchDistance = 8;

DbfHeader ReadHeader(RandomAccessFile& file) {
  std::string prefix(kPrefixLength, '\0');
  prefix.resize(file.Read(0, prefix.data(), prefix.size()));
  const uint32_t length = DbfHeader::HeaderLength(prefix, file.path());
  std::string bytes(length, '\0');
  bytes.resize(file.Read(0, bytes.data(), length));
  return DbfHeader::Parse(bytes, file.Size(), file.path());
}

void StampToday(DbfHeader& header, Env& env) {
  if (const auto today = DecodeDateTime(env.Now())) {
    header.year = std::clamp(today->year, 1900, 2155);
    header.month = today->month;
    header.day = today->day;
  }
}

}  // namespace

void RecordFile::Create(Env& env, const std::string& path, const DbfHeader& header) {
  DbfHeader h = header;
  StampToday(h, env);
  std::unique_ptr<RandomAccessFile> file = env.Open(path, FileMode::kCreate);
  file->Write(0, h.Serialize() + kEndOfFile);
  file->Sync();
}

RecordFile::RecordFile(Env& env, const std::string& path, bool writable)
    : env_(env),
      file_(env.Open(path, writable ? FileMode::kReadWrite : FileMode::kRead)),
      header_(ReadHeader(*file_)) {
  count_ = on_disk_ = header_.record_count;
}

std::string_view RecordFile::Read(uint32_t recno) {
  assert(recno >= 1 && recno <= count_);
  const size_t length = header_.record_length;
  if (recno > on_disk_)
    return std::string_view(appended_).substr((recno - on_disk_ - 1) * length, length);
  if (!changed_.empty()) {
    if (const auto it = changed_.find(recno); it != changed_.end()) return it->second;
  }
  if (recno <= mapped_) {
    PrefetchAhead(recno, length);
    return mapping_->bytes(header_.RecordOffset(recno), length);
  }
  if (recno < window_first_ || recno >= window_first_ + window_count_) FillWindow(recno);
  return std::string_view(window_).substr((recno - window_first_) * length, length);
}

void RecordFile::PrefetchAhead(uint32_t recno, size_t length) const {
  const uint32_t ahead = recno + kPrefetchDistance;
  if (ahead > mapped_) return;
  const char* record = mapping_->data() + header_.RecordOffset(ahead);
  for (size_t at = 0; at < length; at += 64) {
    __builtin_prefetch(record + at);
    // GCC counts a prefetch as having no effect and drops a loop of them,
    // or a call to a function of nothing else; this empty statement is one
    // it must keep, and the prefetches with it.
    asm volatile("" : : "r"(record + at));
  }
}

void RecordFile::FillWindow(uint32_t recno) {
  const size_t length = header_.record_length;
  const bool forward = window_count_ == 0 || recno == window_first_ + window_count_;
  const bool backward = window_count_ != 0 && recno + 1 == window_first_;
  const size_t bytes = forward || backward ? kWindowBytes : kRandomReadBytes;
  const uint32_t wanted = static_cast<uint32_t>(std::max<size_t>(1, bytes / length));
  // A backward scan gets the records before recno, ending with it.
  const uint32_t first = backward && recno > wanted ? recno - wanted + 1 : backward ? 1 : recno;
  const uint32_t n = std::min(backward ? recno - first + 1 : wanted, on_disk_ - first + 1);
  // The buffer only grows: shrinking and growing it again would clear it
  // each time for nothing.
  if (window_.size() < n * length) window_.resize(n * length);
  const size_t got = file_->Read(header_.RecordOffset(first), window_.data(), n * length);
  if (got < n * length) {
    window_count_ = 0;
    throw ETableError(ETableError::Code::kCorrupt, "The table " + path() + " is damaged: record " +
                                                       std::to_string(recno) +
                                                       " lies past the end of the file");
  }
  window_first_ = first;
  window_count_ = n;
}

RecordFile::Pass::Pass(RecordFile& records) : records_(records) {
  // A pass begun inside another (a visitor counting the same table) reads
  // through the outer one's mapping and leaves it to the outer one to end.
  if (records.mapping_) return;
  owner_ = true;
  if (records.on_disk_ == 0) return;
  const uint64_t end = records.header_.RecordOffset(records.on_disk_ + 1);
  // A file already shorter than its header says is damaged; the window
  // reads of it report the record that is missing.
  if (records.file_->Size() < end) return;
  records.mapping_ = records.file_->Map(end);
  if (records.mapping_) records.mapped_ = records.on_disk_;
}

RecordFile::Pass::~Pass() {
  if (owner_) records_.EndPass();
}

void RecordFile::Pass::Finish() {
  if (!owner_) return;
  const bool shortened = records_.mapping_ && records_.mapping_->Shortened();
  records_.EndPass();
  if (shortened) {
    throw ETableError(ETableError::Code::kCorrupt,
                      "The table " + records_.path() +
                          " could not be read to its end: another program shortened it, or "
                          "the disk failed, while it was being read");
  }
}

void RecordFile::EndPass() {
  mapped_ = 0;
  mapping_.reset();
}

void RecordFile::Append(std::string_view record) {
  assert(record.size() == header_.record_length);
  appended_ += record;
  ++count_;
  if (appended_.size() >= kAppendBufferBytes) FlushAppends();
}

void RecordFile::Update(uint32_t recno, std::string_view record) {
  assert(recno >= 1 && recno <= count_ && record.size() == header_.record_length);
  if (recno > on_disk_) {
    appended_.replace((recno - on_disk_ - 1) * header_.record_length, record.size(), record);
  } else {
    changed_[recno] = record;
  }
}

void RecordFile::FlushAppends() {
  if (appended_.empty()) return;
  file_->Write(header_.RecordOffset(on_disk_ + 1), appended_);
  on_disk_ = count_;
  appended_.clear();
}

void RecordFile::Commit() {
  if (!dirty()) return;
  FlushAppends();
  for (const auto& [recno, record] : changed_) file_->Write(header_.RecordOffset(recno), record);
  const uint64_t end = header_.RecordOffset(count_ + 1);
  file_->Write(end, std::string_view(&kEndOfFile, 1));
  if (file_->Size() > end + 1) file_->Truncate(end + 1);
  file_->Sync();
  DbfHeader next = header_;
  next.record_count = count_;
  StampToday(next, env_);
  file_->Write(0, next.SerializePrefix());
  file_->Sync();
  header_ = std::move(next);
  changed_.clear();
  window_count_ = 0;
}

void RecordFile::Refresh() {
  assert(!dirty());
  DbfHeader fresh = ReadHeader(*file_);
  if (fresh.record_length != header_.record_length ||
      fresh.fields.size() != header_.fields.size()) {
    throw ETableError(ETableError::Code::kCorrupt,
                      "The structure of the table " + path() + " was changed by another program");
  }
  header_ = std::move(fresh);
  count_ = on_disk_ = header_.record_count;
  window_count_ = 0;
  // A pass under way keeps its mapping: the records it handed out stay
  // readable until it ends.
  mapped_ = std::min(mapped_, on_disk_);
}

}  // namespace quorvant
