// Stores submissions of one survey that arrive together in one transaction.
// Each commit waits for the disk; a request that finds a commit under way
// queues, and the next transaction takes everything queued for a survey at
// once, so that many submissions share one wait. At most kMaxBatches
// transactions run at a time.
//
// A batch commits as a whole or not at all: when it fails, every submission
// in it gets the error and none is acknowledged.
//
// Thread-safety: Submit() may be called from any thread.
#pragma once

#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "collector/pg_pool.h"

namespace quorvant::collector {

class PgSubmitBatcher {
 public:
  static constexpr int kMaxBatches = 4;
  static constexpr size_t kMaxBatchSize = 64;

  // pool must have prepared the statement "submit" (quorvant_submit).
  explicit PgSubmitBatcher(std::shared_ptr<PgPool> pool) : pool_(std::move(pool)) {}

  // Stores the submission (survey first; the parameters of "submit") and
  // returns what "submit" returned: the stamp, or nothing for an unknown
  // survey. Throws what PgPool throws.
  std::optional<std::string> Submit(const PgParams& params);

 private:
  struct Pending {
    const PgParams* params;
    bool done = false;
    std::optional<std::string> stamp;
    std::exception_ptr error;
  };
  // Takes the first queued submission and those of the same survey.
  std::deque<Pending*> TakeBatch();
  void Store(const std::deque<Pending*>& batch);

  std::shared_ptr<PgPool> pool_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Pending*> queue_;
  int running_ = 0;  // batches being stored now
};

}  // namespace quorvant::collector
