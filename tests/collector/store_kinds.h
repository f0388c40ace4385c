// The stores the collector tests run against, so that every test of the
// store interface and of the HTTP layer covers each implementation.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "collector/postgres_submission_store.h"
#include "collector/sqlite_submission_store.h"
#include "support/pg_temp_cluster.h"

namespace quorvant::collector {

struct StoreKind {
  std::string name;
  // Opens (creating when new) the store whose files live in folder dir.
  std::function<std::unique_ptr<SubmissionStore>(const std::string& dir, SubmissionStore::Clock)>
      open;
};

// The database of folder dir in the cluster the tests share: created while
// the folder exists, so that reopening finds the same data and a folder that
// does not exist names a database that does not either.
inline std::string TestDatabaseOf(const std::string& dir) {
  const std::string name = "t" + std::to_string(std::hash<std::string>{}(dir));
  if (std::filesystem::is_directory(dir))
    quorvant::testing::SharedPgTempCluster().CreateDatabase(name);
  return quorvant::testing::SharedPgTempCluster().ConnectionString(name);
}

inline std::vector<StoreKind> StoreKinds() {
  return {{"Sqlite",
           [](const std::string& dir, SubmissionStore::Clock clock) {
             return std::make_unique<SqliteSubmissionStore>(dir + "/c.db", std::move(clock));
           }},
          {"Postgres", [](const std::string& dir, SubmissionStore::Clock clock) {
             return std::make_unique<PostgresSubmissionStore>(TestDatabaseOf(dir),
                                                              std::move(clock));
           }}};
}

// Names the store in test output instead of dumping the struct's bytes.
inline void PrintTo(const StoreKind& kind, std::ostream* os) { *os << kind.name; }

inline std::string StoreKindName(const ::testing::TestParamInfo<StoreKind>& info) {
  return info.param.name;
}

}  // namespace quorvant::collector
