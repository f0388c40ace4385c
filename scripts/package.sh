#!/usr/bin/env bash
# Builds the Debian packages quorvant_VERSION_ARCH.deb (the desktop program
# and quorvant-cli) and quorvant-collector_VERSION_ARCH.deb (the collection
# server alone) into build/ (or the folder of --out), and prints their paths.
#
#   scripts/package.sh                      Release build in build/package with
#                                           Debian's hardening flags
#   scripts/package.sh --build-dir DIR      the programs of a tree already built
#                                           (the test suite packages its own)
set -euo pipefail
cd "$(dirname "$0")/.."

build=""
out="build"
while [[ $# -gt 0 ]]; do
  case $1 in
    --build-dir) build=${2:?--build-dir needs a folder}; shift 2 ;;
    --out) out=${2:?--out needs a folder}; shift 2 ;;
    *) echo "usage: scripts/package.sh [--build-dir DIR] [--out DIR]" >&2; exit 2 ;;
  esac
done

cpack_options=()
if [[ -n $build ]]; then
  # A tree already built is packaged to be checked, not shipped: gzip makes
  # the large unoptimised binaries of a test build in a fraction of xz's time.
  cpack_options=(-D CPACK_DEBIAN_COMPRESSION_TYPE=gzip)
else
  scripts/bootstrap.sh
  build=build/package
  # Debian's flags for packages (hardening included), without the debug
  # information that the packages would strip again.
  export DEB_BUILD_MAINT_OPTIONS=hardening=+all
  export DEB_CFLAGS_MAINT_STRIP=-g DEB_CXXFLAGS_MAINT_STRIP=-g
  cppflags=$(dpkg-buildflags --get CPPFLAGS)
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DQUORVANT_BUILD_TESTS=OFF -DQUORVANT_BUILD_BENCH=OFF \
    -DCMAKE_C_FLAGS="$(dpkg-buildflags --get CFLAGS) $cppflags" \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $cppflags" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
fi
[[ -f $build/CPackConfig.cmake ]] || { echo "package.sh: $build is no configured build tree" >&2; exit 1; }

# The build speaks only when something is wrong.
if ! cmake --build "$build" -- -j"$(nproc)" >"$build/package-build.log" 2>&1; then
  cat "$build/package-build.log" >&2
  exit 1
fi

mkdir -p "$out"
out=$(cd "$out" && pwd)
work=$(mktemp -d "$out/cpack.XXXXXX")
trap 'rm -rf "$work"' EXIT
if ! cpack --config "$build/CPackConfig.cmake" -B "$work" "${cpack_options[@]}" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log" >&2
  exit 1
fi
for deb in "$work"/*.deb; do
  mv -f "$deb" "$out/"
  echo "$out/${deb##*/}"
done
