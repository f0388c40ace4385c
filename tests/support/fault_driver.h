// The one walk over the fault points of an operation: it runs the operation
// on a FaultEnv that fails at point 1, then 2, 3, ... until a run ends without
// reaching its fault point. After every run the test's check sees the files
// (nothing committed may be lost); the last run, which met no fault, must
// have succeeded. There is no cap: an operation with more steps simply takes
// more runs.
#pragma once

#include <functional>
#include <vector>

#include "core/env/env.h"
#include "support/fault_env.h"

namespace quorvant::testing {

struct FaultWalk {
  // Runs the whole operation on env, from the state the test wants (setting
  // that state up through the default Env, so that it is not counted);
  // returns whether it reported success. ETableError thrown out of it counts
  // as a reported failure.
  std::function<bool(Env& env)> operation;
  // After the run whose fault point was `point`, with `succeeded` its
  // outcome: checks with EXPECT_* that nothing committed was lost (and,
  // after a success, that the operation's work is there).
  // A run may succeed although it reached its fault point only on a full
  // disk, which lets syncs, renames and writes in place through; with the
  // other faults that is a failure that went unreported.
  std::function<void(int point, bool succeeded)> check;
};

// Walks every fault point of walk.operation with the given fault on top of
// target; returns how many runs failed. Fails the test when a fault went
// unreported or the run without faults did not succeed.
int WalkFaultPoints(FaultEnv::Fault fault, const FaultWalk& walk, Env& target = DefaultEnv());

// The same for each of the three faults; returns the failed runs of each
// (kFail, kShortWrite, kDiskFull).
std::vector<int> WalkEveryFault(const FaultWalk& walk, Env& target = DefaultEnv());

}  // namespace quorvant::testing
