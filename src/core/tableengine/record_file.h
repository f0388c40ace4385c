// RecordFile: the records of a .dbf file, read through a window of whole
// records and written through buffers.
//
// A pass over the whole table (Pass) maps the file instead, where it maps:
// a record is then read where it lies, and only the bytes the reader looks
// at come from memory, rather than every byte being copied into the window
// first; Read() also asks the processor for the record a few ahead. For the
// wide records of a response table that is most of the cost of counting.
//
// Appended records collect in memory and go to the file in large writes;
// changes to records already in the file are held until Commit(). Commit()
// writes all of them, syncs, and only then writes the header's new record
// count and syncs again. A crash at any moment therefore leaves a header
// that counts only records fully on disk; bytes past them are ignored on
// reading and overwritten by the next append.
//
// Ownership: owns its file. Thread-safety: none; one table handle uses it.
// Methods throw ETableError: kIo from the file, kCorrupt (naming the file)
// from the constructor when the header is damaged or the file truncated.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "core/env/env.h"
#include "core/tableengine/dbf_header.h"

namespace quorvant {

class RecordFile {
 public:
  // Writes a new table file of header's fields and no records.
  static void Create(Env& env, const std::string& path, const DbfHeader& header);

  RecordFile(Env& env, const std::string& path, bool writable);

  const std::string& path() const { return file_->path(); }
  RandomAccessFile& file() { return *file_; }
  const DbfHeader& header() const { return header_; }

  // Records including those appended and not yet committed.
  uint32_t count() const { return count_; }
  bool dirty() const { return count_ != header_.record_count || !changed_.empty(); }

  // The bytes of record recno (1 to count()); valid until the next call.
  // Requires: 1 <= recno <= count().
  std::string_view Read(uint32_t recno);

  // Requires: record.size() == header().record_length.
  void Append(std::string_view record);
  void Update(uint32_t recno, std::string_view record);

  // Makes every append and update durable, then the header.
  void Commit();

  // While a Pass lives, Read() of a record already on disk points into a
  // mapping of the file. Finish() throws kCorrupt when another program
  // shortened the file under the pass (what was read from the lost part
  // were zeros); a pass left by an exception just ends. Passes may nest;
  // the outermost one maps and unmaps.
  class Pass {
   public:
    explicit Pass(RecordFile& records);
    ~Pass();
    Pass(const Pass&) = delete;
    Pass& operator=(const Pass&) = delete;
    void Finish();

   private:
    RecordFile& records_;
    bool owner_ = false;  // false inside another pass, whose mapping it uses
  };

  // Re-reads the header's record count (another handle may have committed)
  // and forgets cached records. Requires: !dirty().
  void Refresh();

 private:
  void FlushAppends();
  void FillWindow(uint32_t recno);
  void PrefetchAhead(uint32_t recno, size_t length) const;
  void EndPass();

  Env& env_;  // its clock stamps the header at every commit
  std::unique_ptr<RandomAccessFile> file_;
  DbfHeader header_;
  uint32_t count_ = 0;                       // visible records, committed or not
  uint32_t on_disk_ = 0;                     // records written to the file
  std::string appended_;                     // records on_disk_ + 1 .. count_
  std::map<uint32_t, std::string> changed_;  // updates of records on disk
  std::string window_;  // records window_first_ .. window_first_ + window_count_ - 1
  uint32_t window_first_ = 0;
  uint32_t window_count_ = 0;
  std::unique_ptr<FileMapping> mapping_;  // during a pass: records 1 .. mapped_
  uint32_t mapped_ = 0;
};

}  // namespace quorvant
