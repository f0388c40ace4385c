#!/usr/bin/env bash
# Builds Quorvant in Debug with AddressSanitizer and UndefinedBehaviorSanitizer
# into build/debug and runs the whole test suite through CTest. Exits non-zero
# on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/bootstrap.sh

cmake -S . -B build/debug -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUORVANT_SANITIZE=ON >/dev/null
# The build speaks only when something is wrong.
if ! cmake --build build/debug -- -j"$(nproc)" >build/debug/build.log 2>&1; then
  cat build/debug/build.log >&2
  exit 1
fi

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build/debug --output-on-failure -j"$(nproc)" --timeout 600
