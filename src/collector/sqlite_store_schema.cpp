#include "collector/sqlite_store_schema.h"

#include <string>
#include <utility>
#include <vector>

#include "collector/password_hash.h"
#include "collector/sqlite_statement.h"
#include "collector/submission_store.h"

namespace quorvant::collector {
namespace {

// The layout every collector before numbered layouts created; kept as it was
// so that a new file starts at version 0 like an old one and takes the same
// upgrades.
constexpr const char* kVersion0 = R"sql(
  CREATE TABLE IF NOT EXISTS surveys(
    name TEXT PRIMARY KEY, account TEXT NOT NULL, password TEXT NOT NULL,
    registered INTEGER NOT NULL);
  CREATE TABLE IF NOT EXISTS submissions(
    id INTEGER PRIMARY KEY AUTOINCREMENT, survey TEXT NOT NULL, stamp INTEGER NOT NULL,
    remote TEXT NOT NULL, agent TEXT NOT NULL, fields TEXT NOT NULL);
  CREATE INDEX IF NOT EXISTS submissions_by_stamp ON submissions(survey, stamp, id);
  CREATE TABLE IF NOT EXISTS clock(id INTEGER PRIMARY KEY CHECK (id = 1), highest INTEGER NOT NULL);
  INSERT OR IGNORE INTO clock(id, highest) VALUES (1, 0);
)sql";

int UserVersion(sqlite3* db) {
  Statement read(db, "PRAGMA user_version");
  return read.Step() ? static_cast<int>(read.Int(0)) : 0;
}

// Version 0 to 1: every clear password becomes its hash. The old text is
// overwritten in the file, not only unlinked from it (secure_delete), and the
// write-ahead log is emptied into the file, so no copy of it stays behind.
void HashClearPasswords(sqlite3* db) {
  std::vector<std::pair<std::string, std::string>> surveys;  // name, clear password
  {
    Statement rows(db, "SELECT name, password FROM surveys");
    while (rows.Step()) surveys.emplace_back(rows.Text(0), rows.Text(1));
  }
  Execute(db, "ALTER TABLE surveys RENAME COLUMN password TO password_hash");
  for (const auto& [name, clear] : surveys) {
    Statement(db, "UPDATE surveys SET password_hash = ? WHERE name = ?")
        .Bind(1, HashPassword(clear))
        .Bind(2, name)
        .Step();
  }
}

}  // namespace

void MigrateStoreSchema(sqlite3* db) {
  int version = UserVersion(db);
  if (version > kStoreSchemaVersion) {
    throw StoreError("the database was written by a newer collector (layout " +
                     std::to_string(version) + ")");
  }
  if (version == kStoreSchemaVersion) return;
  Execute(db, "PRAGMA secure_delete=ON");
  Execute(db, "BEGIN IMMEDIATE");
  try {
    // Another collector may have upgraded the file while this one waited.
    version = UserVersion(db);
    if (version == 0) {
      Execute(db, kVersion0);
      HashClearPasswords(db);
    }
    Execute(db, ("PRAGMA user_version = " + std::to_string(kStoreSchemaVersion)).c_str());
    Execute(db, "COMMIT");
  } catch (...) {
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    throw;
  }
  Execute(db, "PRAGMA wal_checkpoint(TRUNCATE)");
  Execute(db, "PRAGMA secure_delete=OFF");
}

}  // namespace quorvant::collector
