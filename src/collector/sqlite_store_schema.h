// The layout of the collector's SQLite file and its upgrades. The file's
// PRAGMA user_version says which layout it has:
//   0  (a new file, or one written before layouts were numbered) surveys
//      with their passwords in clear;
//   1  passwords kept as salted hashes (password_hash.h) in surveys.password_hash.
#pragma once

#include <sqlite3.h>

namespace quorvant::collector {

inline constexpr int kStoreSchemaVersion = 1;

// Creates the tables of a new file or brings an older file up to
// kStoreSchemaVersion, each step in one transaction. A file from a newer
// collector is refused. Call on a connection no other thread uses yet.
// Throws StoreError.
void MigrateStoreSchema(sqlite3* db);

}  // namespace quorvant::collector
