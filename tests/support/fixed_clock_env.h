// An Env for tests whose clock stands where the test puts it; files are the
// target's. Safe to read from several threads while the test moves it.
#pragma once

#include <atomic>

#include "core/env/env.h"

namespace quorvant::testing {

class FixedClockEnv : public EnvWrapper {
 public:
  explicit FixedClockEnv(TDateTime now, Env& target = DefaultEnv())
      : EnvWrapper(target), now_(now) {}

  void Set(TDateTime now) { now_.store(now); }
  TDateTime Now() override { return now_.load(); }

 private:
  std::atomic<TDateTime> now_;
};

}  // namespace quorvant::testing
