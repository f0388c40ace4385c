#include "core/emaillists/email_list.h"

#include <cassert>
#include <filesystem>

#include "core/env/table_error.h"
#include "core/shell/atomic_file.h"
#include "core/shell/prompts.h"

namespace quorvant {
namespace {

constexpr const char* kTagKeys[kEmailFieldCount] = {"FNAME+LNAME", "LNAME+FNAME", "EMAIL"};
// Deleted records are left out of every order.
constexpr char kTagCondition[] = ".not. DELETED()";

std::vector<FieldDef> EmailListDefinition() {
  std::vector<FieldDef> fields;
  for (const EmailListField& f : kEmailListFields) fields.push_back({f.name, 'C', f.width, 0});
  return fields;
}

// Two names of one file, also when one is relative or goes through a link.
bool SameFile(const std::string& a, const std::string& b) {
  std::error_code ec;
  const auto ca = std::filesystem::weakly_canonical(a, ec);
  if (ec) return a == b;
  const auto cb = std::filesystem::weakly_canonical(b, ec);
  if (ec) return a == b;
  return ca == cb;
}

}  // namespace

const char* EmailTagKey(int field) {
  assert(field >= 0 && field < kEmailFieldCount);
  return kTagKeys[field];
}

TEmailList::TEmailList(Prompts& prompts, Table::Options options)
    : prompts_(prompts), options_(options), table_(options) {}

bool TEmailList::Create(const std::string& path) {
  Close();
  try {
    Table::Create(path, EmailListDefinition(), *options_.env);
  } catch (const ETableError&) {
    // A file the engine could not even start is a refused creation; one
    // begun and not completed is a failed one.
    prompts_.ShowError(
        (FileExists(path) ? "Failed database creation: " : "Could not create the database ") +
        path);
    return false;
  }
  table_.Open(path);
  for (int field = 0; field < kEmailFieldCount; ++field) {
    table_.AddTag(kEmailListFields[field].name, kTagKeys[field], kTagCondition);
  }
  TakeOrder(kLastNameField);
  return true;
}

void TEmailList::Open(const std::string& path) {
  Close();
  try {
    table_.Open(path);
    RequireEmailFields();
    BuildMissingTags();
    TakeOrder(kLastNameField);
  } catch (...) {
    table_.Close();
    throw;
  }
}

bool TEmailList::SaveAs(const std::string& path) {
  assert(IsOpen());
  if (SameFile(path, table_.path())) return false;
  table_.CopyTo(path);
  Open(path);
  return true;
}

void TEmailList::Close() {
  table_.Close();
  sort_field_ = kLastNameField;
}

// A table made by another program, or another kind of table given the
// extension, is refused before anything is written to it.
void TEmailList::RequireEmailFields() {
  for (const EmailListField& f : kEmailListFields) {
    const int index = table_.FieldIndex(f.name);
    if (index < 0 || table_.Fields()[static_cast<size_t>(index)].type != 'C') {
      throw ETableError(
          ETableError::Code::kCorrupt,
          "The file " + table_.path() + " is not an e-mail list: it has no " + f.name + " field");
    }
  }
}

void TEmailList::BuildMissingTags() {
  if (table_.ReadOnly()) return;
  for (int field = 0; field < kEmailFieldCount; ++field) {
    if (table_.TagOrder(kEmailListFields[field].name) == 0) {
      table_.AddTag(kEmailListFields[field].name, kTagKeys[field], kTagCondition);
    }
  }
}

// Selects the field's tag; without it (a read-only copy lacking its index)
// the records stay in file order.
void TEmailList::TakeOrder(int field) {
  sort_field_ = field;
  table_.SetOrder(table_.TagOrder(kEmailListFields[field].name));
}

bool TEmailList::SetOrder(std::string_view field_name) {
  for (int field = 0; field < kEmailFieldCount; ++field) {
    if (FieldKey(field_name) == kEmailListFields[field].name) {
      TakeOrder(field);
      return true;
    }
  }
  return false;
}

void TEmailList::SetSortField(int field) {
  assert(field >= 0 && field < kEmailFieldCount);
  TakeOrder(field);
}

std::vector<uint32_t> TEmailList::RowsInOrder() {
  table_.RecCount();  // takes in what other handles committed
  std::vector<uint32_t> rows = table_.RecordsInOrder();
  // Only the file order (a list without its index) shows deleted records.
  if (table_.Order() == 0) {
    std::erase_if(rows, [this](uint32_t recno) {
      table_.GoTo(recno);
      return table_.Deleted();
    });
  }
  return rows;
}

EmailRecord TEmailList::Read(uint32_t recno) {
  if (table_.RecNo() != recno || table_.Eof()) table_.GoTo(recno);
  EmailRecord record;
  for (int field = 0; field < kEmailFieldCount; ++field) {
    record[static_cast<size_t>(field)] =
        std::string(TrimRight(table_.Get(kEmailListFields[field].name)));
  }
  return record;
}

void TEmailList::Write(uint32_t recno, int field, std::string_view text) {
  assert(field >= 0 && field < kEmailFieldCount);
  table_.GoTo(recno);
  table_.Replace(kEmailListFields[field].name, text);
  table_.Commit();
}

uint32_t TEmailList::Append(const EmailRecord& record) {
  AppendAll({record});
  return table_.RecNo();
}

void TEmailList::AppendAll(const std::vector<EmailRecord>& records) {
  for (const EmailRecord& record : records) {
    table_.Append({{kEmailListFields[0].name, record[0]},
                   {kEmailListFields[1].name, record[1]},
                   {kEmailListFields[2].name, record[2]}});
  }
  table_.Commit();
}

void TEmailList::Delete(const std::vector<uint32_t>& recnos) {
  for (const uint32_t recno : recnos) {
    table_.GoTo(recno);
    table_.Delete();
  }
  table_.Commit();
}

std::optional<uint32_t> TEmailList::Find(std::string_view text) {
  if (table_.Order() == 0) return std::nullopt;
  if (!table_.Seek(text, SeekMode::kPrefix)) return std::nullopt;
  return table_.RecNo();
}

uint32_t TEmailList::RecordCount() { return table_.RecCount(); }

}  // namespace quorvant
