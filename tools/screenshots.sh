#!/usr/bin/env bash
# Builds the window tour and saves pictures of the main window (both pages),
# the cross tabulation, the question editor on each style page, the header
# editor, the skip-group dialog, the warning dialog, every page of the survey
# properties and the preferences, the publish dialog, the report destination
# and range dialogs, the directory chooser, the question library, the
# template manager and the import dialog under build/screenshots (or the
# folder given), drawn on a virtual X display with the example survey.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/bootstrap.sh
out="${1:-build/screenshots}"

cmake -S . -B build/debug -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUORVANT_SANITIZE=ON >/dev/null
cmake --build build/debug --target screenshot_tour -- -j2 >/dev/null

# Settings and data of a fresh account, so the pictures show what a new
# author sees.
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME="$home" XDG_DATA_HOME="$home/data" QUORVANT_CONFIG_DIR="$home/config"
export ASAN_OPTIONS=detect_leaks=0
xvfb-run -a -s "-screen 0 1280x900x24" \
  build/debug/tools/screenshot_tour "$out" data/examples/example.qvx
