// Moving a collector from its SQLite file to a shared PostgreSQL database:
// every survey (with its password hash) and every submission (with its
// stamp) is copied. Copying again copies only what is new: each submission
// is known by its survey, stamp, contents and its rank among identical ones
// of the source, so a source that kept collecting can be copied once more.
// A survey already in the database keeps its owner there; submissions of the
// source are still added to it.
#pragma once

#include <string>

#include "collector/postgres_submission_store.h"

namespace quorvant::collector {

struct CopyCounts {
  size_t surveys = 0, surveys_present = 0;
  size_t submissions = 0, submissions_present = 0;
};

// Copies the SQLite database at path (upgraded first, as the collector
// would on start) into target. Throws StoreError; what was committed before
// a failure stays, and copying again completes it.
CopyCounts CopySqliteStore(const std::string& path, PostgresSubmissionStore& target);

// "copied 2 surveys (1 already there) and 40 submissions (0 already there)"
std::string CopyCountsText(const CopyCounts& counts);

}  // namespace quorvant::collector
