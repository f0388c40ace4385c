// TEmailList: one open e-mail list, the address table that invitations are
// mailed to. The file (".eml") is a table of three character fields, FNAME,
// LNAME and EMAIL, with a tag of the same name for each order (LNAME+FNAME,
// FNAME+LNAME, EMAIL), every tag leaving deleted records out.
//
// The list keeps the active order (the tag, named by its field) and reads
// and changes records by record number. Every change is committed at once,
// so a crash loses at most the change being made; import commits once at
// its end.
//
// Ownership: owns its table handle; the Prompts given at construction must
// outlive it. Thread-safety: none; each window has its own list.
//
// Failures: Create() reports through the prompts and returns false; every
// other operation throws ETableError with the engine's message, leaving the
// files as they were.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/tableengine/table.h"

namespace quorvant {

class Prompts;

struct EmailListField {
  const char* name;   // the field and its tag
  const char* label;  // the column title
  int width;          // characters in the file
  int grid_width;     // characters shown in the grid
};

inline constexpr int kEmailFieldCount = 3;
inline constexpr std::array<EmailListField, kEmailFieldCount> kEmailListFields{{
    {"FNAME", "First Name", 30, 20},
    {"LNAME", "Last Name", 30, 20},
    {"EMAIL", "Email Address", 200, 60},
}};
inline constexpr int kLastNameField = 1;  // the default order

// One person of a list: first name, last name, address, without the blanks
// that pad them in the file.
using EmailRecord = std::array<std::string, kEmailFieldCount>;

class TEmailList {
 public:
  explicit TEmailList(Prompts& prompts, Table::Options options = {});

  // Closes the list and creates the file anew (replacing one of that name)
  // with the three fields and tags, then opens it in the LNAME order. When
  // the engine refuses to start: "Could not create the database " + path;
  // when the file was begun but not completed: "Failed database creation: "
  // + path; false in both cases, with no list open.
  bool Create(const std::string& path);
  // Closes the list and opens the file shared in the LNAME order. Tags that
  // are missing (a copy made without its index) are built again when the
  // file is writable. Throws ETableError, with no list open, when the file
  // is damaged, locked or is not an e-mail list.
  void Open(const std::string& path);
  // Save As: copies the file to path, opens the copy with its tags built
  // and the LNAME order. False, doing nothing, when path names the list
  // shown. Throws ETableError.
  bool SaveAs(const std::string& path);
  void Close();

  bool IsOpen() const { return table_.IsOpen(); }
  bool ReadOnly() const { return table_.ReadOnly(); }
  const std::string& path() const { return table_.path(); }

  // ---- The active order (Requires: open) ----
  // The field (0..2) whose tag orders the list.
  int SortField() const { return sort_field_; }
  // Selects the tag of the field with that name (any case); false when there
  // is no such field.
  bool SetOrder(std::string_view field_name);
  void SetSortField(int field);

  // ---- Records (Requires: open) ----
  // The record numbers in the active order, deleted records left out.
  std::vector<uint32_t> RowsInOrder();
  EmailRecord Read(uint32_t recno);
  // Stores one field of a record and commits.
  void Write(uint32_t recno, int field, std::string_view text);
  // Appends a record (blank for an empty one) and commits; its number.
  uint32_t Append(const EmailRecord& record);
  // Appends many records and commits once.
  void AppendAll(const std::vector<EmailRecord>& records);
  // Marks the records deleted and commits.
  void Delete(const std::vector<uint32_t>& recnos);
  // The first record of the active order whose key begins with text, as
  // the find box looks for it.
  std::optional<uint32_t> Find(std::string_view text);
  // Records in the file, deleted ones included.
  uint32_t RecordCount();

 private:
  void TakeOrder(int field);
  void RequireEmailFields();
  void BuildMissingTags();

  Prompts& prompts_;
  Table::Options options_;
  Table table_;
  int sort_field_ = kLastNameField;
};

// The key expression of each field's tag.
const char* EmailTagKey(int field);

}  // namespace quorvant
