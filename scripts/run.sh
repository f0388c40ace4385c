#!/usr/bin/env bash
# Builds Quorvant in Release into build/release and starts the desktop
# application. Arguments are passed to the program (a survey file to open).
# While the application runs, the collection server is started in the
# background on its default port when it has been built.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/bootstrap.sh

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORVANT_BUILD_TESTS=OFF \
  >/dev/null
# The build speaks only when something is wrong.
if ! cmake --build build/release -- -j2 >build/release/build.log 2>&1; then
  cat build/release/build.log >&2
  exit 1
fi

collector=build/release/src/collector/quorvant-collector
if [[ -x "$collector" ]]; then
  "$collector" --db build/release/collector.db >build/release/collector.log 2>&1 &
  collector_pid=$!
  trap 'kill "$collector_pid" 2>/dev/null || true' EXIT
fi
build/release/src/app/quorvant "$@"
