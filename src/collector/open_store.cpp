#include "collector/open_store.h"

#include "collector/connection_string.h"
#include "collector/postgres_submission_store.h"
#include "collector/sqlite_submission_store.h"

namespace quorvant::collector {

std::unique_ptr<SubmissionStore> OpenStore(const std::string& database) {
  if (IsPostgresConnectionString(database)) {
    return std::make_unique<PostgresSubmissionStore>(database);
  }
  return std::make_unique<SqliteSubmissionStore>(database);
}

}  // namespace quorvant::collector
