#!/usr/bin/env bash
# Draws every chart kind with every legend style and every marks style, and
# the hard cases (long labels, one point, twenty points, counts of 0, a
# gradient, no legend, a small chart, the print layout), as PNG files under
# build/chart_gallery (or the folder given), for a person to look at.
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-build/chart_gallery}"
cmake -S . -B build/debug -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUORVANT_SANITIZE=ON >/dev/null
cmake --build build/debug --target chart_gallery -- -j2 >/dev/null
mkdir -p "$out"
ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=offscreen build/debug/tools/chart_gallery "$out"
echo "Charts written to $out"
