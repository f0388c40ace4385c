#!/usr/bin/env bash
# Renders the example survey through every shipped display template and takes
# phone (390 px) and desktop (1280 px) screenshots with headless Chromium.
# Each template is shown twice: with the example as it is (its skip group
# forces go-to links) and with the skip group removed (so the compact layout
# shows). Usage: tools/screenshot_templates.sh [OUTPUT_DIR]
# (default build/screenshots). Uses the quorvant-cli of build/debug or
# build/release, building build/release when neither exists.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=${1:-build/screenshots}
mkdir -p "$out"
out=$(cd "$out" && pwd)

cli=""
for dir in build/debug build/release; do
  [[ -x "$dir/src/cli/quorvant-cli" ]] && { cli="$root/$dir/src/cli/quorvant-cli"; break; }
done
if [[ -z "$cli" ]]; then
  cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORVANT_BUILD_TESTS=OFF \
    >/dev/null
  cmake --build build/release --target quorvant-cli >/dev/null
  cli="$root/build/release/src/cli/quorvant-cli"
fi
command -v chromium >/dev/null || { echo "screenshot_templates: chromium is not installed" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QUORVANT_CONFIG_DIR="$work/config" QUORVANT_SHARE_DIR="$root/data"

shoot() {  # page width height png
  chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --user-data-dir="$work/profile" --hide-scrollbars --window-size="$2,$3" \
    --screenshot="$4" "file://$1" >/dev/null 2>&1
}

for template in data/templates/*.qvg; do
  name=$(basename "$template" .qvg)
  for variant in skip plain; do
    survey="$work/$name-$variant.qvx"
    sed "s/^DisplayTemplate=.*/DisplayTemplate=$name.qvg/" data/examples/example.qvx >"$survey"
    if [[ $variant == plain ]]; then
      sed -i 's/^SkipGroupOfQuestion=.*/SkipGroupOfQuestion=-1/;
              s/^SkipGroupOfResponse=.*/SkipGroupOfResponse=-1/' "$survey"
    fi
    page="$work/$name-$variant.htm"
    "$cli" page "$survey" "$page" --data-dir "$work/data" >/dev/null
    shoot "$page" 390 2400 "$out/$name-$variant-phone.png"
    shoot "$page" 1280 2000 "$out/$name-$variant-desktop.png"
  done
done
ls "$out"/*.png
