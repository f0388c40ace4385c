#!/usr/bin/env bash
# Runs every libFuzzer target (or the TARGETs named, such as csv_text) for
# SECONDS each (default 60) on its corpus in fuzz/corpus, building them with
# clang into build/fuzz first. New inputs the
# fuzzer finds go to build/fuzz/corpus/NAME; a crashing input is left as
# build/fuzz/crash-NAME-* to be kept as a regression file in fuzz/corpus/NAME.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
[[ "$seconds" =~ ^[0-9]+$ ]] || { echo "usage: scripts/fuzz.sh [SECONDS [TARGET...]]" >&2; exit 2; }
shift || true

cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
      -DCMAKE_C_COMPILER=clang -DQUORVANT_FUZZ=ON -DQUORVANT_SANITIZE=ON \
      -DQUORVANT_BUILD_TESTS=OFF -DQUORVANT_BUILD_BENCH=OFF >/dev/null
targets=${*:-$(cd fuzz && ls ./*_fuzzer.cpp | sed 's|^\./||;s|_fuzzer\.cpp$||')}
for t in $targets; do
  [[ -f "fuzz/${t}_fuzzer.cpp" ]] || { echo "fuzz: no target $t" >&2; exit 2; }
done
cmake --build build/fuzz -- -j2 $(for t in $targets; do echo "${t}_fuzzer"; done)

status=0
for t in $targets; do
  mkdir -p "build/fuzz/corpus/$t"
  echo "fuzz: $t for ${seconds}s"
  if ! "build/fuzz/fuzz/${t}_fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
       -artifact_prefix="build/fuzz/crash-$t-" -print_final_stats=1 \
       "build/fuzz/corpus/$t" "fuzz/corpus/$t" 2>"build/fuzz/$t.log"; then
    echo "fuzz: $t failed; see build/fuzz/$t.log and build/fuzz/crash-$t-*" >&2
    status=1
  fi
  grep -E "^stat::number_of_executed_units" "build/fuzz/$t.log" || true
done
exit $status
