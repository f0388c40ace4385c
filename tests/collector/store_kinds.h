// The stores the collector tests run against, so that every test of the
// store interface and of the HTTP layer covers each implementation.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "collector/sqlite_submission_store.h"

namespace quorvant::collector {

struct StoreKind {
  std::string name;
  // Opens (creating when new) the store whose files live in folder dir.
  std::function<std::unique_ptr<SubmissionStore>(const std::string& dir, SubmissionStore::Clock)>
      open;
};

inline std::vector<StoreKind> StoreKinds() {
  return {{"Sqlite", [](const std::string& dir, SubmissionStore::Clock clock) {
             return std::make_unique<SqliteSubmissionStore>(dir + "/c.db", std::move(clock));
           }}};
}

// Names the store in test output instead of dumping the struct's bytes.
inline void PrintTo(const StoreKind& kind, std::ostream* os) { *os << kind.name; }

inline std::string StoreKindName(const testing::TestParamInfo<StoreKind>& info) {
  return info.param.name;
}

}  // namespace quorvant::collector
