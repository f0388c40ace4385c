// The store --db names: a PostgreSQL database for a connection string, else
// the SQLite file at that path.
#pragma once

#include <memory>
#include <string>

#include "collector/submission_store.h"

namespace quorvant::collector {

// Throws StoreError (StoreUnavailable when a database server cannot be
// reached).
std::unique_ptr<SubmissionStore> OpenStore(const std::string& database);

}  // namespace quorvant::collector
