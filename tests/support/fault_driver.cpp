#include "support/fault_driver.h"

#include <gtest/gtest.h>

#include "core/env/table_error.h"

namespace quorvant::testing {

int WalkFaultPoints(FaultEnv::Fault fault, const FaultWalk& walk, Env& target) {
  int failed_runs = 0;
  for (int point = 1;; ++point) {
    FaultEnv env(target);
    env.FailFrom(point, fault);
    bool succeeded = false;
    try {
      succeeded = walk.operation(env);
    } catch (const ETableError&) {
      succeeded = false;
    }
    if (!env.Reached()) {
      EXPECT_TRUE(succeeded) << "the run without a fault failed (fault kind "
                             << static_cast<int>(fault) << ", " << point - 1 << " points)";
      walk.check(point, succeeded);
      return failed_runs;
    }
    if (succeeded && fault != FaultEnv::Fault::kDiskFull) {
      ADD_FAILURE() << "the failure at point " << point << " went unreported";
    }
    if (!succeeded) ++failed_runs;
    walk.check(point, succeeded);
    if (::testing::Test::HasFatalFailure()) return failed_runs;
  }
}

std::vector<int> WalkEveryFault(const FaultWalk& walk, Env& target) {
  std::vector<int> failed;
  for (const auto fault :
       {FaultEnv::Fault::kFail, FaultEnv::Fault::kShortWrite, FaultEnv::Fault::kDiskFull}) {
    failed.push_back(WalkFaultPoints(fault, walk, target));
  }
  return failed;
}

}  // namespace quorvant::testing
