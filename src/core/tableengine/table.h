// Table: one handle on an xBase table, the files <base>.dbf (records),
// <base>.fpt (memo texts) and <base>.cdx (index tags). See format.md.
//
// A handle has a current record and an order: 0 is physical (record number)
// order, 1..TagCount() the tags in the order they were added. Browsing
// (GoTop, Skip, GoBottom, Eof) follows the order and shows only the records
// that satisfy the query and the view filter, when set. Deleted records stay
// visible, as in every xBase engine by default; DELETED() tests the mark.
// Seek looks at every key of the order regardless of query and filter, so
// that a duplicate check sees every record.
//
// Changes (AppendBlank, Replace, Delete, Recall) apply to the current record
// and become visible to this handle at once. They reach the files at
// Commit(); Close() and the destructor commit too. The index keys of a
// changed record are brought up to date when the record pointer next moves
// or the table is searched or counted.
//
// Several handles, in this process or others, may hold one table open. The
// first change takes an exclusive lock on the table, held to the next
// Commit(); another handle's change waits for it (up to the lock timeout,
// then ETableError kLocked). A handle that changes nothing takes no lock and
// sees what others committed when it next calls RecCount().
//
// Durability: after Commit() returns, the records are on disk; a crash at any
// moment leaves the last committed state, and an index that does not match
// it is rebuilt from the records when the table is next opened.
//
// Ownership: the handle owns its files; the Env given in Options must
// outlive it. Thread-safety: none; use one handle per thread.
//
// Failures throw ETableError: kIo when the system refuses a read or write,
// kCorrupt naming the damaged file, kLocked, kExpression for a bad key,
// condition, query or filter, kDefinition from Create(), and kUsage for an
// operation the state does not allow (no table open, no current record, a
// field the table lacks, a read-only table, a seek without an order).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/env/env.h"
#include "core/tableengine/expression.h"
#include "core/tableengine/field_codec.h"
#include "core/tableengine/index_file.h"
#include "core/tableengine/key_index.h"

namespace quorvant {

class MemoFile;
class RecordFile;

// What a whole-table pass sees of each record.
class RecordVisitor {
 public:
  virtual ~RecordVisitor() = default;
  // bytes: the record as stored, the deletion mark first and each field at
  // its FieldDef offset; source reads the same record, memo texts included.
  // Both are valid during the call only.
  virtual void Visit(std::string_view bytes, RecordSource& source) = 0;
};

enum class SeekMode {
  kExact,   // a key equal to the value (trailing blanks ignored)
  kPrefix,  // the first key that begins with the value
};

class Table {
 public:
  struct Options {
    Env* env = &DefaultEnv();
    int lock_timeout_ms = 10000;
  };

  // Creates <base>.dbf and <base>.fpt with the fields in order and no
  // records, replacing files of those names and removing a stale <base>.cdx.
  // Throws kDefinition when the field list cannot be stored (see
  // ValidateFields) before touching any file, kIo when a file cannot be
  // written.
  static void Create(const std::string& path, const std::vector<FieldDef>& fields,
                     Env& env = DefaultEnv());

  // <path> with its extension replaced (".fpt", ".cdx").
  static std::string SiblingPath(const std::string& path, const char* extension);

  Table();
  explicit Table(Options options);
  // Commits and closes; errors are swallowed here, so call Close() to see them.
  ~Table();
  Table(const Table&) = delete;
  Table& operator=(const Table&) = delete;

  // Opens shared: read-write when the files allow it, else read-only. The
  // tags of <base>.cdx come with it; a missing .cdx means no tags, a stale
  // one is rebuilt. Positions on the first record in physical order.
  void Open(const std::string& path);
  // Commits pending changes and closes; closing a closed table does nothing.
  void Close();
  bool IsOpen() const { return records_ != nullptr; }
  bool ReadOnly() const { return read_only_; }
  const std::string& path() const { return path_; }

  // ---- Structure (Requires: open) ----
  const std::vector<FieldDef>& Fields() const;
  int FieldIndex(std::string_view name) const;  // -1 when absent

  // ---- Index tags ----
  // Adds (or replaces) a tag, ascending, with an optional condition, builds
  // it from every record and commits. The name is 1 to 10 letters, digits or
  // "_". Throws kExpression for a bad key or condition.
  void AddTag(std::string_view name, std::string_view key, std::string_view condition = "");
  int TagCount() const { return static_cast<int>(tags_.size()); }
  // The order number of the tag (1..TagCount()), 0 when there is none.
  int TagOrder(std::string_view name) const;
  // The tag at an order number; Requires: 1 <= order <= TagCount().
  const TagDefinition& Tag(int order) const;
  // 0 selects physical order. Keeps the current record. Throws kUsage for an
  // order number that names no tag.
  void SetOrder(int order);
  int Order() const { return order_; }

  // ---- Navigation ----
  void GoTop() { GoEnd(true); }
  void GoBottom() { GoEnd(false); }
  // Moves n visible records forward (or back); past the end Eof() is true,
  // before the first Bof() is true and the first visible record is current.
  void Skip(int n = 1);
  bool Eof() const { return eof_; }
  bool Bof() const { return bof_; }
  // Makes record recno current whatever the order, query and filter. Throws
  // kUsage outside 1..RecCount().
  void GoTo(uint32_t recno);
  uint32_t RecNo() const { return recno_; }
  // The record numbers GoTop() and Skip() would visit, in that order, read
  // from the order's keys (records are read only to test a query or filter).
  // Keeps the current record, posting its changes first.
  std::vector<uint32_t> RecordsInOrder();
  // Searches the selected order (Requires: Order() > 0, else kUsage). Found:
  // the record becomes current and true is returned. Not found: Eof() and
  // false. An empty value finds a blank key in either mode.
  bool Seek(std::string_view value, SeekMode mode = SeekMode::kExact);
  // True when the current record satisfies the query and the view filter
  // (a seek can land on one that does not).
  bool CurrentVisible();
  // True when the current record's key in the selected order matches value
  // as Seek() would find it (false at the end or outside the tag), so that a
  // caller can walk every record of one key. Requires: Order() > 0.
  bool KeyMatches(std::string_view value, SeekMode mode = SeekMode::kExact);

  // Records in the table, appended ones included. When this handle has no
  // pending changes it first takes in what other handles committed.
  uint32_t RecCount();

  // ---- Current record ----
  // Appends a blank record and makes it current.
  void AppendBlank();
  // Appends a record with these (field name, text) values, as AppendBlank()
  // and Replace() would.
  void Append(const std::vector<std::pair<std::string, std::string>>& values);
  // Stores text in the field: character fields cut to their width at a
  // character boundary, memo fields whole, numeric fields read as a number
  // (blank when the text is none). Throws kUsage when a number does not fit.
  void Replace(std::string_view field, std::string_view text);
  void Replace(std::string_view field, const char* text) { Replace(field, std::string_view(text)); }
  // Replace() by the field's position in Fields(), for callers that fill
  // many records of one layout. Requires: 0 <= index < Fields().size().
  void ReplaceField(int index, std::string_view text);
  // A number: numeric fields right-aligned, other fields as decimal text.
  void Replace(std::string_view field, int64_t value);
  // The field's text: character fields padded to their width, memo fields
  // their text, other fields as stored.
  std::string Get(std::string_view field);
  std::string GetMemo(std::string_view field) { return Get(field); }
  // A numeric field's value; nullopt when it is blank or not a number.
  std::optional<double> GetNumber(std::string_view field);
  bool Deleted();
  void Delete();
  void Recall();

  // Makes every change durable (records, memo texts, then the index file)
  // and releases the lock.
  void Commit();

  // ---- Query and view filter ----
  // Sets the query (empty removes it). Throws kExpression, leaving the
  // previous query, when the text is not a valid condition.
  void SetQuery(std::string_view expression);
  const std::string& Query() const { return query_.text(); }
  // Records satisfying the query (all records without one).
  uint32_t QueryCount();
  // Visits, in physical order, every record that satisfies the query (all
  // records without one), whatever the view filter, and returns how many it
  // visited. The current record stays; nothing is allocated per record.
  // QueryCount() and ScanQuery() read a memory mapping of the .dbf where the
  // Env's files map (see env/file_mapping.h, which installs a SIGBUS
  // handler for it): another program shortening the file meanwhile gives
  // kCorrupt once the pass is over, never a crash.
  uint32_t ScanQuery(RecordVisitor& visitor);
  // Sets the view filter (empty removes it); like SetQuery.
  void SetFilter(std::string_view expression);
  const std::string& Filter() const { return filter_.text(); }

  // Writes a copy of every record with its memo texts to <path> (.dbf and
  // .fpt, each replaced atomically), after committing; removes a .cdx left
  // there by an older table. Throws kUsage when path is this table's own.
  void CopyTo(const std::string& path);

 private:
  struct TagState;

  void RequireOpen() const;
  void RequireRecord() const;
  int RequireField(std::string_view name) const;
  void BeginWrite();
  void BeginChange();
  void Post();
  bool LockNow();  // takes the write lock if it is free at once
  void ReleaseLock();
  void Refresh();
  void Load(uint32_t recno);
  void SetEof();
  uint32_t Count() const;

  // Tags (table_tags.cpp).
  std::unique_ptr<TagState> MakeTag(const TagDefinition& def) const;
  std::vector<std::optional<std::string>> KeysOf(RecordSource& record);
  void UpdateKeys(const std::vector<std::optional<std::string>>& before,
                  const std::vector<std::optional<std::string>>& after, uint32_t recno);
  void LoadIndexFile();
  void RebuildTags();
  void WriteIndexFile();
  TableSignature Signature();

  // Visibility and order walking (table_navigation.cpp).
  bool Visible(RecordSource& record);
  void GoEnd(bool top);
  std::optional<uint32_t> FirstVisible(bool forward);
  std::optional<uint32_t> NextVisible(bool forward);
  KeyIndex::Pos OrderPosition();
  TagState& SelectedTag();

  Options options_;
  std::string path_;
  bool read_only_ = false;
  std::unique_ptr<RecordFile> records_;
  std::unique_ptr<MemoFile> memo_;
  std::vector<std::unique_ptr<TagState>> tags_;
  std::optional<FileStamp> index_stamp_;  // of the .cdx last read or written
  FileStamp dbf_stamp_;                   // of the .dbf when last taken in
  bool writing_ = false;                  // holds the lock

  int order_ = 0;
  uint32_t recno_ = 0;  // 0 when there is no current record
  bool eof_ = true;
  bool bof_ = true;
  std::string record_;      // the current record's bytes
  bool appending_ = false;  // record_ is a new record not yet in records_
  bool changed_ = false;    // record_ differs from the stored record
  std::vector<std::optional<std::string>> keys_before_;  // of the stored record

  Expression query_;
  Expression filter_;
  std::optional<uint32_t> query_count_;  // cached until the next change
};

}  // namespace quorvant
