#!/usr/bin/env bash
# Builds Quorvant in Release into build/release and starts it. Arguments are
# passed to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/bootstrap.sh

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORVANT_BUILD_TESTS=OFF \
  >/dev/null
# The build speaks only when something is wrong.
if ! cmake --build build/release -- -j"$(nproc)" >build/release/build.log 2>&1; then
  cat build/release/build.log >&2
  exit 1
fi

# The desktop window arrives with a later step; until then the command-line
# tool shows the example survey (or the survey named on the command line).
if [[ $# -eq 0 ]]; then
  set -- show data/examples/example.qvx
fi
exec build/release/src/cli/quorvant-cli "$@"
