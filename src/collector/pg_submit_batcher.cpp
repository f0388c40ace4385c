#include "collector/pg_submit_batcher.h"

#include <algorithm>

namespace quorvant::collector {

std::optional<std::string> PgSubmitBatcher::Submit(const PgParams& params) {
  Pending pending{&params, false, std::nullopt, nullptr};
  std::unique_lock lock(mutex_);
  queue_.push_back(&pending);
  while (!pending.done) {
    const bool queued = std::find(queue_.begin(), queue_.end(), &pending) != queue_.end();
    if (queued && running_ < kMaxBatches) {
      const std::deque<Pending*> batch = TakeBatch();
      ++running_;
      lock.unlock();
      Store(batch);
      lock.lock();
      --running_;
      changed_.notify_all();
    } else {
      changed_.wait(lock);
    }
  }
  if (pending.error) std::rethrow_exception(pending.error);
  return pending.stamp;
}

std::deque<PgSubmitBatcher::Pending*> PgSubmitBatcher::TakeBatch() {
  std::deque<Pending*> batch;
  const std::optional<std::string>& survey = (*queue_.front()->params)[0];
  for (auto it = queue_.begin(); it != queue_.end() && batch.size() < kMaxBatchSize;) {
    if ((*(*it)->params)[0] == survey) {
      batch.push_back(*it);
      it = queue_.erase(it);
    } else {
      ++it;
    }
  }
  return batch;
}

// One survey per transaction: it then holds one survey lock, so batches and
// fetches can never wait for each other in a circle.
void PgSubmitBatcher::Store(const std::deque<Pending*>& batch) {
  std::vector<std::optional<std::string>> stamps;
  std::exception_ptr error;
  try {
    const auto lease = pool_->Borrow();
    if (batch.size() > 1) lease->Execute("BEGIN");
    for (const Pending* p : batch) {
      const PgResult r = lease->Run("submit", *p->params);
      stamps.push_back(r.IsNull(0, 0) ? std::nullopt : std::optional(r.Text(0, 0)));
    }
    if (batch.size() > 1) lease->Execute("COMMIT");
  } catch (...) {
    error = std::current_exception();
  }
  std::lock_guard lock(mutex_);
  for (size_t i = 0; i < batch.size(); ++i) {
    batch[i]->done = true;
    if (error) {
      batch[i]->error = error;
    } else {
      batch[i]->stamp = stamps[i];
    }
  }
}

}  // namespace quorvant::collector
