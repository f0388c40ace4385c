// The collector's tables and functions in PostgreSQL, and their upgrades.
// The table quorvant_schema holds one row with the layout's version:
//   1  surveys (with password hashes and the stamp below which fetches have
//      handed out everything), submissions, password failures, and the
//      functions that store and fetch under the per-survey lock.
// Texts that come from requests (survey names, addresses, browser names)
// are kept as bytes, since nothing guarantees they are valid UTF-8.
#pragma once

#include <libpq-fe.h>

namespace quorvant::collector {

inline constexpr int kPgSchemaVersion = 1;

// Creates the layout in a new database or brings an older one up to
// kPgSchemaVersion, each step in one transaction. Collectors starting at
// once take turns (an advisory lock), so each step runs once. A database
// from a newer collector is refused. Throws StoreError (StoreUnavailable when
// the connection is lost).
void MigratePgSchema(PGconn* conn);

}  // namespace quorvant::collector
